// "getlists": the clone list with the states vmrun and Workstation's inventory report.

#include <windows.h>

#include "support/text_encoding.h"
#include "tests/cli/vmware_clones_fixture.h"

namespace {

using nlohmann::ordered_json;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class VmwareListTest : public VmwareClonesTest {
 protected:
  ordered_json Entry(int id, const std::string& state, const std::string& prefix = "web") const {
    return {{"id", id}, {"name", prefix + std::to_string(id)}, {"path", ClonePathUtf8(id)}, {"state", state}};
  }
  void MakeFolders(std::initializer_list<const char*> names) const {
    CreateDirectoryA(storage_.c_str(), nullptr);
    for (const char* name : names) CreateDirectoryA((storage_ + name).c_str(), nullptr);
  }
};

TEST_F(VmwareListTest, ClonesStartedSinglyAreTheRunningOnes) {
  SaveSettings(3, 0);
  Clone(3);
  const size_t logBefore = StandinLog().size();
  EXPECT_EQ(Send("Vm_PowerON", {{"type", 1}, {"VmxId", 0}})["code"], 200);
  EXPECT_EQ(Send("Vm_PowerON", {{"type", 1}, {"VmxId", 2}})["code"], 200);
  // A single clone starts once and without "gui".
  EXPECT_EQ(LogFrom(logBefore), PowerLine("start", 0) + PowerLine("start", 2));

  const ordered_json expected = {{"code", 200},
                                 {"data", {Entry(0, "runing"), Entry(1, "unknown"), Entry(2, "runing")}}};
  EXPECT_EQ(RefreshedList(), expected);
  EXPECT_EQ(ListFile(), expected);
}

// The display names hold a blank, and so does the storage path: read word by
// word, the inventory would put the state anywhere but 24 tokens after the path.
TEST_F(VmwareListTest, ACloneSuspendedSinglyIsPausedAtOnceAndAfterTheNextRefresh) {
  SaveSettings(3, 0, "my web");
  Clone(3);
  Send("Vm_PowerON", {{"type", 1}, {"VmxId", 1}});
  Send("Vm_PowerON", {{"type", 1}, {"VmxId", 2}});
  RefreshedList();

  const auto reply = Send("Vm_Pause", {{"type", 1}, {"VmxId", 2}});
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["data"]["state"], true);
  EXPECT_EQ(ListFile()["data"],
            ordered_json({Entry(0, "unknown", "my web"), Entry(1, "runing", "my web"), Entry(2, "paused", "my web")}));

  // vmrun no longer lists the suspended clone: only the inventory says it is paused.
  EXPECT_EQ(RefreshedList()["data"],
            ordered_json({Entry(0, "unknown", "my web"), Entry(1, "runing", "my web"), Entry(2, "paused", "my web")}));
}

// vmrun's whole answer counts, not a first piece of it.
TEST_F(VmwareListTest, EveryRunningCloneIsMarkedHoweverLongTheToolsAnswer) {
  storageUtf8_ = AnsiToUtf8(folder_.path()) + std::string(170, 'x') + "\\";
  storage_ = Utf8ToAnsi(storageUtf8_);
  constexpr int kClones = 6;  // long paths: over a kilobyte of answer
  SaveSettings(kClones, 0);
  MakeFolders({});
  for (int i = 0; i < kClones; ++i) {
    CreateDirectoryA((storage_ + std::to_string(i)).c_str(), nullptr);
    WriteFileBytes(ClonePath(i), "config.version = \"8\"\n");
  }
  ASSERT_EQ(Send("Vm_PowerON", {{"type", 0}})["code"], 200);

  const ordered_json list = RefreshedList();
  ASSERT_EQ(list["data"].size(), size_t{kClones});
  for (const auto& clone : list["data"]) EXPECT_EQ(clone["state"], "runing") << clone["id"];
  EXPECT_GT(ReadFileBytes(ProgramFile("list.dat")).size(), 1024u);
}

TEST_F(VmwareListTest, FoldersListInTheOrderNtfsGivesAndOnlyNumberedOnesAreClones) {
  SaveSettings(0, 0);
  MakeFolders({"2", "10", "iso", "0", "1", "07", "Backup"});
  WriteFileBytes(storage_ + "notes.txt", "mine");

  const ordered_json expected = {
      {"code", 200}, {"data", {Entry(0, "unknown"), Entry(1, "unknown"), Entry(10, "unknown"), Entry(2, "unknown")}}};
  EXPECT_EQ(RefreshedList(), expected);
  // The scratch list names every folder, the user's too.
  EXPECT_EQ(ReadFileBytes(ProgramFile("dir.vlist")), "0\r\n07\r\n1\r\n10\r\n2\r\nBackup\r\niso\r\n");
}

// The list runs 0, 1, 10, 2: suspending clone 2 must not mark clone 10, the third entry.
TEST_F(VmwareListTest, ASingleSuspendMarksTheCloneByItsNumber) {
  SaveSettings(0, 0);
  MakeFolders({"0", "1", "2", "10"});
  RefreshedList();
  Send("Vm_Pause", {{"type", 1}, {"VmxId", 2}});
  EXPECT_EQ(ListFile()["data"],
            ordered_json({Entry(0, "unknown"), Entry(1, "unknown"), Entry(10, "unknown"), Entry(2, "paused")}));
}

TEST_F(VmwareListTest, AnEmptyStorageFolderGivesAListWithoutData) {
  SaveSettings(0, 0);
  MakeFolders({});
  EXPECT_EQ(RefreshedList(), ordered_json({{"code", 200}}));
}

TEST_F(VmwareListTest, WithoutSettingsTheListIsLeftAsItWas) {
  WriteFileBytes(ProgramFile("bootlist.json"), "{\"code\": 200}");
  const auto reply = Send("getlists");
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], kNoConfigText);
  EXPECT_EQ(reply["data"]["reslist"], "");
  EXPECT_EQ(ReadFileBytes(ProgramFile("bootlist.json")), "{\"code\": 200}");
}

TEST_F(VmwareListTest, AMissingStorageFolderIsNoList) {
  SaveSettings(0, 0);
  const auto reply = Send("getlists");
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], kNoConfigText);
  EXPECT_FALSE(testing_support::FileExists(ProgramFile("bootlist.json")));
}

}  // namespace
