// "Vm_Delete" against the stand-ins vmrun.exe and vmware.exe.

#include <windows.h>

#include <tlhelp32.h>

#include <set>

#include "support/win_handle.h"
#include "tests/cli/vmware_clones_fixture.h"

namespace {

using testing_support::FileExists;
using testing_support::FolderExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

std::string InventoryPath() {
  char user[256 + 1] = {};
  DWORD length = sizeof(user);
  GetUserNameA(user, &length);
  return std::string("C:\\Users\\") + user + "\\AppData\\Roaming\\VMware\\inventory.vmls";
}

// The stand-in vmware.exe processes running now, by process id.
std::set<DWORD> StandinWorkstations() {
  std::set<DWORD> found;
  const std::string standin = testing_support::ProductBinFolder() + "standins\\vmware.exe";
  char standinFull[MAX_PATH * 2] = {};
  GetFullPathNameA(standin.c_str(), sizeof(standinFull), standinFull, nullptr);
  WinHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry)) {
    if (_stricmp(entry.szExeFile, "vmware.exe") != 0) continue;
    WinHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    char image[MAX_PATH * 2] = {};
    DWORD size = sizeof(image);
    if (process && QueryFullProcessImageNameA(process.Get(), 0, image, &size) && _stricmp(image, standinFull) == 0)
      found.insert(entry.th32ProcessID);
  }
  return found;
}

// Deleting every clone starts Workstation's window program again; here that is
// the stand-in, which runs until ended and holds the program folder as its
// current folder. Those this test caused are ended when it is over.
class StartedWorkstations {
 public:
  StartedWorkstations() : before_(StandinWorkstations()) {}
  ~StartedWorkstations() {
    for (DWORD id : StandinWorkstations()) {
      if (before_.count(id)) continue;
      WinHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
      if (!process) continue;
      TerminateProcess(process.Get(), 1);
      WaitForSingleObject(process.Get(), INFINITE);
    }
  }
  StartedWorkstations(const StartedWorkstations&) = delete;
  StartedWorkstations& operator=(const StartedWorkstations&) = delete;

 private:
  std::set<DWORD> before_;
};

class VmwareDeleteTest : public VmwareClonesTest {
 protected:
  void SetUp() override {
    VmwareClonesTest::SetUp();
    // "start" finds Workstation's program by its name, as it would an installed one.
    char path[32768] = {};
    GetEnvironmentVariableA("PATH", path, sizeof(path));
    environment_.push_back("PATH=" + testing_support::ProductBinFolder() + "standins;" + path);
    SaveSettings(3, 0);
    Clone(3);
    MarkLog();
  }

  // What the stand-ins log from here on is what the test looks at.
  void MarkLog() { logMark_ = StandinLog().size(); }

  std::string CloneFolder(int i) const { return storage_ + std::to_string(i); }

  // The stand-in logs its start itself, after "start" has returned.
  bool WorkstationStarted() const {
    const std::string line = "standins\\vmware.exe\"";
    for (int waited = 0; waited < 600; ++waited) {
      if (LogFrom(logMark_).find(line) != std::string::npos) return true;
      Sleep(100);
    }
    return false;
  }

  size_t logMark_ = 0;
  StartedWorkstations workstations_;  // declared after the folder it may hold: ended first
};

TEST_F(VmwareDeleteTest, OneCloneIsStoppedAloneAndOnlyItsFolderGoes) {
  RefreshedList();
  MarkLog();
  const std::string listBefore = ReadFileBytes(ProgramFile("bootlist.json"));
  const auto reply = Send("Vm_Delete", {{"type", 1}, {"VmxId", 1}});
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["data"]["state"], true);
  EXPECT_EQ(LogFrom(logMark_), PowerLine("stop", 1, "hard"));
  EXPECT_FALSE(FolderExists(CloneFolder(1)));
  EXPECT_TRUE(FileExists(ClonePath(0)));
  EXPECT_TRUE(FileExists(ClonePath(2)));
  EXPECT_EQ(ReadFileBytes(ProgramFile("bootlist.json")), listBefore);
}

TEST_F(VmwareDeleteTest, AnUnknownTypeStopsAndRemovesNothing) {
  const auto reply = Send("Vm_Delete", {{"type", 7}, {"VmxId", 1}});
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], kExecFailedText);
  EXPECT_EQ(reply["data"]["state"], false);
  EXPECT_EQ(LogFrom(logMark_), "");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(FileExists(ClonePath(i))) << i;
}

TEST_F(VmwareDeleteTest, AllClonesGoButWhatTheUserKeepsInTheStorageFolderStays) {
  WriteFileBytes(storage_ + "notes.txt", "mine");
  CreateDirectoryA((storage_ + "iso").c_str(), nullptr);
  DeleteFileA((InventoryPath() + ".bak").c_str());
  RefreshedList();
  MarkLog();

  const auto reply = Send("Vm_Delete", {{"type", 0}});
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["data"]["state"], true);
  EXPECT_EQ(LogFrom(logMark_).substr(0, 3 * PowerLine("stop", 0, "hard").size()),
            PowerLine("stop", 0, "hard") + PowerLine("stop", 1, "hard") + PowerLine("stop", 2, "hard"));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(FolderExists(CloneFolder(i))) << i;
  EXPECT_EQ(ReadFileBytes(storage_ + "notes.txt"), "mine");
  EXPECT_TRUE(FolderExists(storage_ + "iso"));
  EXPECT_FALSE(FileExists(ProgramFile("bootlist.json")));
  EXPECT_FALSE(FileExists(InventoryPath()));
  // The inventory the clones were in, kept for the user's other machines.
  EXPECT_NE(ReadFileBytes(InventoryPath() + ".bak").find(ClonePathUtf8(2)), std::string::npos);
  EXPECT_TRUE(WorkstationStarted()) << LogFrom(logMark_);
}

TEST_F(VmwareDeleteTest, AStorageFolderHoldingOnlyClonesGoesAltogether) {
  const auto reply = Send("Vm_Delete", {{"type", 0}});
  EXPECT_EQ(reply["code"], 200);
  EXPECT_FALSE(FolderExists(storage_));
  EXPECT_TRUE(WorkstationStarted()) << LogFrom(logMark_);
  // With the storage folder gone there is no list to show.
  EXPECT_EQ(Send("getlists")["code"], -1);
}

}  // namespace
