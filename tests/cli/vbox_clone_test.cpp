// "cloneVBox": snapshots and clones of the master with the stand-in VBoxManage.exe.

#include "tests/cli/vbox_fixture.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class VboxCloneTest : public VboxCliTest {
 protected:
  std::string TakeLine(const std::string& masterWord, int i) const {
    return tool_ + " snapshot " + masterWord + " take " + std::to_string(i) +
           " --description= --live --uniquename Space,Force\n";
  }
  std::string CloneLine(const std::string& masterWord, int i) const {
    const std::string n = std::to_string(i);
    return tool_ + " clonevm " + masterWord + " --basefolder=\"" + storage_ + n + "\"  --name=\"vm" + n +
           "\"   --options=link --options=KeepHwUUIDs  --register --mode=machine --snapshot=" + n + "\n";
  }
};

TEST_F(VboxCloneTest, ThreeClonesTakeASnapshotEachAndAreListedWithPlaceholders) {
  Register("master");
  SaveSettings("vm");
  const auto reply = Clone(3);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], "ok");
  EXPECT_EQ(reply["data"]["RsultseLectlist"], 0);
  EXPECT_EQ(StandinLog(), TakeLine("master", 0) + CloneLine("master", 0) + TakeLine("master", 1) +
                              CloneLine("master", 1) + TakeLine("master", 2) + CloneLine("master", 2));
  for (const char* clone : {"0\\vm0\\vm0.vbox", "1\\vm1\\vm1.vbox", "2\\vm2\\vm2.vbox"})
    EXPECT_TRUE(FileExists(storage_ + clone)) << clone;

  nlohmann::ordered_json expected = {{"code", 200}, {"data", nlohmann::ordered_json::array()}};
  for (int i = 0; i < 3; ++i) {
    expected["data"].push_back({{"id", i},
                                {"snapshot", i},
                                {"name", "vm" + std::to_string(i)},
                                {"uuid", "dbug"},
                                {"path", "dbug"},
                                {"state", "dbug"},
                                {"belongTo", "master"}});
  }
  EXPECT_EQ(CloneList().dump(), expected.dump());
}

TEST_F(VboxCloneTest, NoClonesRunNothingAndListOnlyTheCode) {
  Register("master");
  SaveSettings("vm");
  WriteFileBytes(ProgramFile("vboxBootlist.json"), R"({"code":200,"data":[{"id":5}]})");
  EXPECT_EQ(Clone(0)["code"], 200);
  EXPECT_EQ(StandinLog(), "");
  EXPECT_EQ(ReadFileBytes(ProgramFile("vboxBootlist.json")), "{\r\n    \"code\": 200\r\n}");
}

TEST_F(VboxCloneTest, AMasterNameWithASpaceStaysOneWord) {
  Register("win 10 master");
  SaveSettings("vm", "win 10 master");
  EXPECT_EQ(Clone(1)["code"], 200);
  EXPECT_EQ(StandinLog(), TakeLine("\"win 10 master\"", 0) + CloneLine("\"win 10 master\"", 0));
  EXPECT_TRUE(FileExists(storage_ + "0\\vm0\\vm0.vbox"));
  EXPECT_EQ(CloneList()["data"][0]["belongTo"], "win 10 master");
}

TEST_F(VboxCloneTest, WithoutSettingsNothingRunsAndTheListStays) {
  WriteFileBytes(ProgramFile("vboxBootlist.json"), "{}");
  const auto reply = Clone(2);
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], "No VBox virtual machine registered!");
  EXPECT_EQ(reply["data"]["RsultseLectlist"], -1);
  EXPECT_EQ(StandinLog(), "");
  EXPECT_EQ(ReadFileBytes(ProgramFile("vboxBootlist.json")), "{}");
}

}  // namespace
