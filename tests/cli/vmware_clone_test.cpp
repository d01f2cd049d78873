// "Vm_Start_Cloning" against the stand-in vmrun.exe.

#include <windows.h>

#include "tests/cli/cli_fixture.h"

namespace {

using testing_support::FileExists;
using testing_support::FolderExists;
using testing_support::WriteFileBytes;

class VmwareCloneTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    UseStandins();
    CreateDirectoryA(ProgramFile("master").c_str(), nullptr);
    WriteFileBytes(master_, "config.version = \"8\"\n");
  }

  void SaveSettings(const std::string& prefix) {
    nlohmann::ordered_json request = {{"func", "Vm_Clone_Settings"}, {"tag", 1}};
    request["data"] = {{"InstallationPath", tool_}, {"MasterPath", master_}, {"StoragePath", storage_},
                       {"CloneType", "linked"},      {"CloneNumber", 3},       {"NamePrefix", prefix},
                       {"StartIntervalTime", 0}};
    ASSERT_EQ(Reply(request.dump())["code"], 200);
  }

  nlohmann::ordered_json Clone(int count) {
    return Reply(R"({"func":"Vm_Start_Cloning","tag":2,"data":{"number":)" + std::to_string(count) + "}}");
  }

  std::string SnapshotLine(const std::string& verb) const {
    return tool_ + " -T ws " + verb + " \"" + master_ + "\" 888\n";
  }
  std::string CloneLine(int i, const std::string& nameWord) const {
    const std::string n = std::to_string(i);
    return tool_ + " -T ws clone \"" + master_ + "\" \"" + storage_ + n + "\\" + n + ".vmx\" linked -snapshot=888 " +
           "-cloneName=" + nameWord + "\n";
  }

  const std::string tool_ = StandinTool("vmrun.exe");
  const std::string master_ = ProgramFile("master\\master.vmx");
  const std::string storage_ = ProgramFile("clones\\");
};

TEST_F(VmwareCloneTest, ThreeClonesRunSixLinesInOrderAndLandOnDisk) {
  SaveSettings("web");
  const auto reply = Clone(3);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], "ok");
  EXPECT_EQ(reply["data"]["state"], true);
  EXPECT_EQ(StandinLog(), SnapshotLine("deleteSnapshot") + SnapshotLine("snapshot") + CloneLine(0, "web0") +
                              CloneLine(1, "web1") + CloneLine(2, "web2") + SnapshotLine("deleteSnapshot"));
  for (const char* clone : {"0\\0.vmx", "1\\1.vmx", "2\\2.vmx"}) EXPECT_TRUE(FileExists(storage_ + clone)) << clone;
  EXPECT_FALSE(FolderExists(storage_ + "3"));
}

TEST_F(VmwareCloneTest, NoClonesStillTakesAndRemovesTheSnapshot) {
  SaveSettings("web");
  EXPECT_EQ(Clone(0)["code"], 200);
  EXPECT_EQ(StandinLog(), SnapshotLine("deleteSnapshot") + SnapshotLine("snapshot") + SnapshotLine("deleteSnapshot"));
}

TEST_F(VmwareCloneTest, APrefixWithASpaceStaysOneWord) {
  SaveSettings("my web");
  Clone(1);
  EXPECT_NE(StandinLog().find(CloneLine(0, "\"my web0\"")), std::string::npos) << StandinLog();
  EXPECT_TRUE(FileExists(storage_ + "0\\0.vmx"));
}

TEST_F(VmwareCloneTest, WithoutSettingsNothingRunsAndTheAnswerIsStillOk) {
  const auto reply = Clone(2);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], "ok");
  EXPECT_EQ(StandinLog(), "");
}

}  // namespace
