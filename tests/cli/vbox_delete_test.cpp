// "delVBox": clones unregistered with their files, their snapshots deleted.

#include "tests/cli/vbox_fixture.h"

namespace {

using testing_support::FileExists;
using testing_support::FolderExists;
using testing_support::WriteFileBytes;

class VboxDeleteTest : public VboxCliTest {
 protected:
  void SetUp() override {
    VboxCliTest::SetUp();
    Register("master");
  }

  std::string DeleteLines(int i) const {
    return tool_ + " unregistervm  " + uuids_[i] + " --delete\n" + tool_ + " snapshot  master  delete  " +
           std::to_string(i) + "\n";
  }

  std::string RegisteredMachines() const { return VBox("list vms").out; }
};

TEST_F(VboxDeleteTest, DeletingOneClonePowersItOffAndKeepsTheOtherIds) {
  CloneAndRefresh(3);
  ASSERT_EQ(VBox("startvm vm1 --type headless").exitCode, 0u);
  const auto reply = Power("delVBox", 1, 1);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["data"]["delVBox"], 0);
  EXPECT_EQ(StandinLog(), tool_ + " controlvm " + uuids_[1] + " poweroff\n" + DeleteLines(1));
  const auto list = CloneList();
  ASSERT_EQ(list["data"].size(), 2u);
  EXPECT_EQ(list["data"][0]["id"], 0);
  EXPECT_EQ(list["data"][1]["id"], 2);
  EXPECT_EQ(RegisteredMachines().find("\"vm1\""), std::string::npos);
  EXPECT_NE(RegisteredMachines().find("\"vm2\""), std::string::npos);
  EXPECT_FALSE(FolderExists(storage_ + "1\\vm1"));
}

// StoragePath "...\vms" puts the clones in vms0, vms1, vms2; a folder "vms" of
// the user's own is no clone's and stays, as does a clone folder the user
// keeps a file in.
TEST_F(VboxDeleteTest, DeletingEveryCloneRemovesOnlyWhatTheClonesLeftEmpty) {
  storage_ = ProgramFile("vms");
  ASSERT_TRUE(CreateDirectoryA(storage_.c_str(), nullptr));
  WriteFileBytes(storage_ + "\\notes.txt", "mine");
  CloneAndRefresh(3);
  WriteFileBytes(storage_ + "1\\keep.txt", "mine too");
  ASSERT_EQ(VBox("startvm vm0 --type headless").exitCode, 0u);
  ASSERT_EQ(VBox("startvm vm2 --type headless").exitCode, 0u);

  const auto reply = Power("delVBox", 0);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["data"]["delVBox"], 0);
  std::string lines;
  for (const std::string& uuid : uuids_) lines += tool_ + " controlvm  " + uuid + " poweroff\n";
  EXPECT_EQ(StandinLog(), lines + DeleteLines(0) + DeleteLines(1) + DeleteLines(2));

  EXPECT_FALSE(FileExists(ProgramFile("vboxBootlist.json")));
  EXPECT_EQ(RegisteredMachines().find("\"vm"), std::string::npos) << RegisteredMachines();
  EXPECT_FALSE(FolderExists(storage_ + "0"));
  EXPECT_FALSE(FolderExists(storage_ + "2"));
  EXPECT_FALSE(FolderExists(storage_ + "1\\vm1"));
  EXPECT_TRUE(FileExists(storage_ + "1\\keep.txt"));
  EXPECT_TRUE(FileExists(storage_ + "\\notes.txt"));
  // Without a list there is nothing left to delete.
  EXPECT_EQ(Power("delVBox", 0)["code"], -1);
}

}  // namespace
