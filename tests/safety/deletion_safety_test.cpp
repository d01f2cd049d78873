// Deleting every clone, for storage paths of every kind: whatever the path,
// only clone folders go. Around each storage folder are files and folders of
// the user's (in it, beside it, above it, at the end of a junction); after
// "Vm_Delete" all and "delVBox" all each of them must still be there,
// unchanged.
//
// Clone i lives in the folder named by StoragePath followed by the decimal i
// (StoragePath normally ends in a backslash). VMware's delete takes every
// folder there that is named by a clone number for a clone (it keeps no list
// of what it made) and removes no folder at all for an empty path or a volume
// root. VirtualBox's delete removes the folder of each clone in its list once
// nothing is left in it, and never one that is a link.
//
// Most rows make the clone folders by hand where the clone commands put them
// (with the tools named in the settings missing, so the delete runs no tool);
// some make them with the clone commands and the stand-in tools.

#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <memory>
#include <ostream>

#include "support/json_document.h"
#include "support/json_file.h"
#include "tests/safety/cli_sandbox.h"
#include "tests/safety/folder_link.h"
#include "tests/safety/settings_files.h"
#include "tests/safety/tree_snapshot.h"

namespace safety {

namespace {

using testing_support::FileExists;
using testing_support::FolderExists;
using testing_support::WriteFileBytes;

// What the user keeps around the storage folder (root\outer\store\), besides
// a keep.txt in it, in the program folder (root\outer\program\) and in the
// program folder's parent, and numbered folders of the user's in the program
// folder (6), its parent (7) and the folder outside (root\outside\0).
enum Content : unsigned {
  kPlain = 0,
  // In the storage folder: a folder of the user's, a file named like a clone
  // number, and a folder named by a clone number (2).
  kUserFiles = 1,
  // In the storage folder: folders whose names are digits but no clone
  // number as Tarnwick writes one (a leading zero; beyond any clone number).
  kLookalikes = 2,
  // A junction to the folder outside in the storage folder, and one inside
  // clone 0's folder.
  kJunctions = 4,
  // A junction to the folder outside named like a clone: store\8.
  kNumberedJunction = 8,
  // Clone 0's folder is a junction to the folder outside.
  kJunctionAsCloneFolder = 16,
};

// What VMware's delete promises for the clone folders of a row.
enum class Vmware {
  kClonesGo,      // they go
  kNoFolderGoes,  // an empty path or a volume root: no folder at all goes
  kClonesMayGo,   // a path without a trailing backslash, where the clones are
                  // made beside the folder: they may go or stay, nothing else may go
};

enum class Clones {
  kByHand,     // folders made where the clone commands put them; no tool
  kWithTools,  // made by the clone commands with the stand-in tools
};

struct DeletionRow {
  const char* name;
  const char* storage;  // "{store}" stands for root\outer\store
  unsigned content;
  Clones clones;
  Vmware vmware;
  // The root of drive C: VMware's clone folders are not made (a numbered
  // folder of the user's stands there instead), VirtualBox's clones are
  // given numbers no folder at the root has.
  bool driveRoot;
};

void PrintTo(const DeletionRow& row, std::ostream* out) { *out << row.name << " [" << row.storage << "]"; }

const DeletionRow kRows[] = {
    // The storage folder as the folder chooser gives it, holding the user's things.
    {"UsersFilesInTheStorageFolder", "{store}\\", kUserFiles, Clones::kWithTools, Vmware::kClonesGo, false},
    // Digits that are no clone number Tarnwick writes: 007, 99999999999.
    {"NumberLookalikes", "{store}\\", kLookalikes, Clones::kByHand, Vmware::kClonesGo, false},
    // Junctions to a folder outside: in the storage folder and in clone 0's folder.
    {"JunctionsToOutside", "{store}\\", kJunctions, Clones::kByHand, Vmware::kClonesGo, false},
    // A junction to a folder outside, named 8 like a clone's folder.
    {"NumberedJunctionToOutside", "{store}\\", kNumberedJunction, Clones::kByHand, Vmware::kClonesGo, false},
    // Clone 0's folder is a junction to a folder outside.
    {"CloneFolderIsAJunction", "{store}\\", kJunctionAsCloneFolder, Clones::kByHand, Vmware::kClonesGo, false},
    // No trailing backslash: the clones are made beside it (store0, store1), so
    // the folder's own numbered folder 2 is no clone.
    {"NoTrailingBackslash", "{store}", kUserFiles, Clones::kWithTools, Vmware::kClonesMayGo, false},
    // Empty: the clones land in the current folder (the program folder).
    {"Empty", "", kPlain, Clones::kByHand, Vmware::kNoFolderGoes, false},
    // "." without a backslash: the clones are .0 and .1 in the program folder,
    // whose own folder 6 is the user's.
    {"Dot", ".", kPlain, Clones::kByHand, Vmware::kClonesMayGo, false},
    // The program folder itself.
    {"DotBackslash", ".\\", kPlain, Clones::kByHand, Vmware::kClonesGo, false},
    // ".." without a backslash: the clones are ..0 and ..1 in the program
    // folder; the parent's own folder 7 is the user's.
    {"DotDot", "..", kPlain, Clones::kByHand, Vmware::kClonesMayGo, false},
    // The program folder's parent.
    {"DotDotBackslash", "..\\", kPlain, Clones::kByHand, Vmware::kClonesGo, false},
    // The storage folder, spelled relative to the program folder.
    {"Relative", "..\\store\\", kUserFiles, Clones::kByHand, Vmware::kClonesGo, false},
    // A trailing dot, which Windows drops: the storage folder itself.
    {"TrailingDot", "{store}.\\", kUserFiles, Clones::kByHand, Vmware::kClonesGo, false},
    // A trailing blank: a folder "store " of its own.
    {"TrailingBlank", "{store} \\", kUserFiles, Clones::kWithTools, Vmware::kClonesGo, false},
    // The storage folder in the device spelling.
    {"DevicePath", "\\\\?\\{store}\\", kUserFiles, Clones::kByHand, Vmware::kClonesGo, false},
    // The root of drive C: VMware removes no folder there.
    {"DriveRoot", "C:\\", kPlain, Clones::kByHand, Vmware::kNoFolderGoes, true},
    // "C:" names the current folder of drive C, yet joined to "\*" its root.
    {"DriveRelative", "C:", kPlain, Clones::kByHand, Vmware::kNoFolderGoes, false},
    // The root of a share on a server that does not exist.
    {"UncRootOfNoServer", "\\\\nonexistent-server\\share\\", kPlain, Clones::kByHand, Vmware::kNoFolderGoes, false},
    // The same in the device spelling.
    {"DeviceUncRoot", "\\\\?\\UNC\\nonexistent-server\\share\\", kPlain, Clones::kByHand, Vmware::kNoFolderGoes, false},
    // The administrative share of drive C on this machine.
    {"LocalAdminShare", "\\\\localhost\\C$\\", kPlain, Clones::kByHand, Vmware::kNoFolderGoes, false},
};

constexpr int kClones = 2;
// With the tools a VirtualBox clone costs nine tool runs (clone, status,
// delete): one is enough there.
constexpr int kVboxToolClones = 1;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// True when the name is a clone number as Tarnwick writes one: decimal digits,
// no leading zero, within an int.
bool IsCloneNumber(const std::string& name) {
  if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0')) return false;
  for (const char c : name) {
    if (!isdigit(static_cast<unsigned char>(c))) return false;
  }
  return std::stoll(name) <= 0x7FFFFFFF;
}

std::string Lines(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += "\n  " + entry;
  return text;
}

class DeletionSafetyTest : public ::testing::TestWithParam<DeletionRow> {
 protected:
  void SetUp() override {
    ForgetInstalledHypervisors();
    storage_ = Replace(GetParam().storage, "{store}", sandbox_.RootFile("outer\\store"));
    for (const char* folder : {"outside", "outside\\0", "outer\\7", "outer\\program\\6", "outer\\store"}) {
      CreateDirectoryA(sandbox_.RootFile(folder).c_str(), nullptr);
      WriteFileBytes(sandbox_.RootFile(folder) + "\\keep.txt", std::string("the user's, in ") + folder);
    }
    for (const char* file : {"outside\\keep.txt", "outer\\keep.txt", "outer\\program\\keep.txt"})
      WriteFileBytes(sandbox_.RootFile(file), "the user's");
    const unsigned content = GetParam().content;
    if (content & kUserFiles) {
      MakeUserFolder(sandbox_.RootFile("outer\\store\\iso"));
      MakeUserFolder(sandbox_.RootFile("outer\\store\\2"));
      WriteFileBytes(sandbox_.RootFile("outer\\store\\5"), "a file named like a clone");
    }
    if (content & kLookalikes) {
      MakeUserFolder(sandbox_.RootFile("outer\\store\\007"));
      MakeUserFolder(sandbox_.RootFile("outer\\store\\99999999999"));
    }
    if (content & kJunctions) MakeLink(sandbox_.RootFile("outer\\store\\link"));
    if (content & kNumberedJunction) MakeLink(sandbox_.RootFile("outer\\store\\8"));
    if (content & kJunctionAsCloneFolder) MakeLink(sandbox_.RootFile("outer\\store\\0"));
    if (GetParam().driveRoot) {
      const std::string number = std::to_string(1000000000 + GetCurrentProcessId() % 100000000);
      rootFile_ = "C:\\twk-safety-" + number + ".txt";
      WriteFileBytes(rootFile_, "the user's, at the root");
      rootFolder_ = "C:\\" + number;
      MakeUserFolder(rootFolder_);
    }
  }

  void TearDown() override {
    if (rootFile_.empty()) return;
    EXPECT_EQ(testing_support::ReadFileBytes(rootFile_), "the user's, at the root");
    EXPECT_TRUE(FileExists(rootFolder_ + "\\keep.txt")) << rootFolder_ << " lost";
    DeleteFileA(rootFile_.c_str());
    testing_support::RemoveTree(rootFolder_);
    for (const std::string& folder : rootCloneFolders_) testing_support::RemoveTree(folder);
  }

  static void MakeUserFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    WriteFileBytes(path + "\\keep.txt", "the user's, in " + path);
  }

  void MakeLink(const std::string& path) {
    links_.push_back(std::make_unique<FolderLink>(path, sandbox_.RootFile("outside")));
    ASSERT_TRUE(links_.back()->Made()) << "could not make a junction " << path;
  }

  // The tree, the stand-ins' folder (their state, their log, the master
  // machines they change) left out.
  TreeSnapshot Snapshot() const {
    const std::string standins = sandbox_.StandinFolder();
    return TakeSnapshot(sandbox_.Root(), [&](const std::string& path) { return IsAtOrBelow(path, standins); });
  }

  // A path as the commands see it, from the program folder.
  std::string Resolved(const std::string& path) const {
    char current[MAX_PATH * 2] = {};
    GetCurrentDirectoryA(sizeof(current), current);
    SetCurrentDirectoryA(sandbox_.ProgramFolder().c_str());
    char full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
    SetCurrentDirectoryA(current);
    std::string resolved(full, length < sizeof(full) ? length : 0);
    if (resolved.starts_with("\\\\?\\") && resolved.size() > 6 && resolved[5] == ':') resolved.erase(0, 4);
    return resolved;
  }

  // The folder of clone `id`: StoragePath followed by the number, resolved.
  std::string CloneFolder(int64_t id) const { return Resolved(storage_ + std::to_string(id)); }

  // True for a path at or below a folder where a clone would live.
  bool InCloneFolder(const std::string& path) const {
    std::string prefix = CloneFolder(0);
    prefix.pop_back();
    if (path.size() <= prefix.size() || _strnicmp(path.c_str(), prefix.c_str(), prefix.size()) != 0) return false;
    const size_t end = path.find('\\', prefix.size());
    return IsCloneNumber(path.substr(prefix.size(), end == std::string::npos ? end : end - prefix.size()));
  }

  // The entries of `before` that are gone or changed now, except those `mayGo` accepts.
  static std::vector<std::string> Lost(const TreeSnapshot& before, const TreeSnapshot& after,
                                       const std::function<bool(const std::string&)>& mayGo) {
    std::vector<std::string> lost;
    for (const std::string& entry : LostOrChanged(before, after)) {
      if (!mayGo(entry.substr(0, entry.rfind(" (")))) lost.push_back(entry);
    }
    return lost;
  }

  bool CloneFolderIsALink(int64_t id) const {
    const DWORD attributes = GetFileAttributesA(CloneFolder(id).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  CliSandbox sandbox_;
  std::vector<std::unique_ptr<FolderLink>> links_;  // go before the folders they are in
  std::string storage_;
  std::string rootFile_;
  std::string rootFolder_;
  std::vector<std::string> rootCloneFolders_;
};

class VmwareDeletionTest : public DeletionSafetyTest {};
class VboxDeletionTest : public DeletionSafetyTest {};

TEST_P(VmwareDeletionTest, DeletingAllClonesRemovesOnlyCloneFolders) {
  const DeletionRow& row = GetParam();
  const bool withTools = row.clones == Clones::kWithTools;
  CreateDirectoryA(sandbox_.RootFile("standins\\master").c_str(), nullptr);
  WriteFileBytes(sandbox_.RootFile("standins\\master\\master.vmx"), "config.version = \"8\"\n");
  WriteVmwareSettings(sandbox_.ProgramFolder(), {withTools ? StandinTool("vmrun.exe") : MissingTool(sandbox_.Root()),
                                                 sandbox_.RootFile("standins\\master\\master.vmx"), storage_, kClones});
  // Clone folders made by hand, as vmrun makes them: the folder and <i>.vmx in it.
  std::vector<std::string> made;
  if (!withTools && !row.driveRoot) {
    for (int i = 0; i < kClones; ++i) {
      const std::string folder = CloneFolder(i);
      if (CloneFolderIsALink(i) || !CreateDirectoryA(folder.c_str(), nullptr)) continue;
      WriteFileBytes(folder + "\\" + std::to_string(i) + ".vmx", "config.version = \"8\"\n");
      made.push_back(folder);
    }
  }
  const TreeSnapshot beforeCloning = Snapshot();
  if (withTools) {
    const CliReply cloned = sandbox_.Send("Vm_Start_Cloning", {{"number", kClones}});
    ASSERT_EQ(RunProblem(cloned), "");
    for (int i = 0; i < kClones; ++i) {
      if (FolderExists(CloneFolder(i)) && !beforeCloning.count(CloneFolder(i))) made.push_back(CloneFolder(i));
    }
  }
  // Wine cannot take its Unix links away: a clone folder holding one stays.
  std::string keepsALink;
  if ((row.content & kJunctions) && FolderExists(CloneFolder(0))) {
    MakeLink(CloneFolder(0) + "\\inner-link");
    if (!links_.back()->RemovableAsLink()) keepsALink = CloneFolder(0);
  }

  const ULONGLONG started = GetTickCount64();
  // Ending and restarting Workstation through the command interpreter is not
  // what these rows are about (the tool fault tests run it): ComSpec names no
  // program, so those two lines start nothing.
  const CliReply deleted =
      sandbox_.Send("Vm_Delete", {{"type", 0}}, {"ComSpec=" + sandbox_.RootFile("no-interpreter\\cmd.exe")});
  const ULONGLONG took = GetTickCount64() - started;
  ASSERT_EQ(RunProblem(deleted), "");
  EXPECT_EQ(deleted.parsed, ExpectedReply(200, {{"state", true}}, "Vm_Delete", kSuccessText)) << deleted.text;
  if (storage_.starts_with("\\\\"))
    printf("[ note     ] VMware: deleting all clones in %s took %llu ms\n", storage_.c_str(), took);

  const TreeSnapshot after = Snapshot();
  const auto mayGo = [&](const std::string& path) {
    return row.vmware != Vmware::kNoFolderGoes && InCloneFolder(path);
  };
  EXPECT_EQ(Lines(Lost(beforeCloning, after, mayGo)), "")
      << "removed or changed, though in no clone folder (" << CloneFolder(0) << ", " << CloneFolder(1) << ", ...)";
  for (const std::string& clone : made) {
    if (row.vmware == Vmware::kNoFolderGoes) {
      EXPECT_TRUE(FolderExists(clone)) << "a folder was removed where none may be: " << clone;
    } else if (row.vmware == Vmware::kClonesGo && clone != keepsALink) {
      EXPECT_FALSE(FolderExists(clone)) << "clone folder left: " << clone;
    }
  }
}

TEST_P(VboxDeletionTest, DeletingAllClonesRemovesOnlyCloneFolders) {
  const DeletionRow& row = GetParam();
  const bool withTools = row.clones == Clones::kWithTools;
  const int clones = withTools ? kVboxToolClones : kClones;
  WriteVboxSettings(sandbox_.ProgramFolder(), {withTools ? StandinTool("VBoxManage.exe") : MissingTool(sandbox_.Root()),
                                               "master", storage_, clones});
  // By hand: a list of two clones; the folder of the first is empty (its
  // machine gone), the second holds a file of the user's. At the drive root
  // the clones have numbers no folder there has.
  const int64_t firstId = row.driveRoot ? 1000000000 + GetCurrentProcessId() % 100000000 + 1 : 0;
  std::string emptyCloneFolder;
  if (withTools) {
    const WatchedRun master = sandbox_.VBoxManage("createvm --name master --register");
  ASSERT_EQ(master.exitCode, 0u) << master.err;
  } else {
    Json::Document records = Json::Document::array();
    for (int64_t id = firstId; id < firstId + kClones; ++id) {
      Json::Document record = Json::Document::object();
      Json::SetNumber(record, "id", id);
      Json::SetNumber(record, "snapshot", id - firstId);
      Json::SetString(record, "name", "vm" + std::to_string(id - firstId));
      for (const char* member : {"uuid", "path", "state"}) Json::SetString(record, member, "");
      Json::SetString(record, "belongTo", "master");
      records.push_back(std::move(record));
    }
    JsonFile::Write(Json::Document{{"code", 200}, {"data", records}}, sandbox_.ProgramFile("vboxBootlist.json"));
    if (!CloneFolderIsALink(firstId) && CreateDirectoryA(CloneFolder(firstId).c_str(), nullptr))
      emptyCloneFolder = CloneFolder(firstId);
    if (CreateDirectoryA(CloneFolder(firstId + 1).c_str(), nullptr))
      WriteFileBytes(CloneFolder(firstId + 1) + "\\keep.txt", "the user's, in a clone's folder");
    if (row.driveRoot) rootCloneFolders_ = {CloneFolder(firstId), CloneFolder(firstId + 1)};
  }
  const TreeSnapshot beforeCloning = Snapshot();
  if (withTools) {
    const CliReply cloned = sandbox_.Send("cloneVBox", {{"number", clones}});
    ASSERT_EQ(RunProblem(cloned), "");
    ASSERT_EQ(cloned.parsed["code"], 200);
    // The status list puts the machines' UUIDs into the clone list.
    ASSERT_EQ(RunProblem(sandbox_.Send("getStatusVBoxlist")), "");
  }
  const TreeSnapshot beforeDeleting = Snapshot();

  const ULONGLONG started = GetTickCount64();
  const CliReply deleted = sandbox_.Send("delVBox", {{"type", 0}, {"id", 0}});
  const ULONGLONG took = GetTickCount64() - started;
  ASSERT_EQ(RunProblem(deleted), "");
  EXPECT_EQ(deleted.parsed, ExpectedReply(200, {{"delVBox", 0}}, "delVBox", kSuccessText)) << deleted.text;
  if (storage_.starts_with("\\\\"))
    printf("[ note     ] VirtualBox: deleting all clones in %s took %llu ms\n", storage_.c_str(), took);

  const TreeSnapshot after = Snapshot();
  const auto mayGo = [&](const std::string& path) {
    return path == emptyCloneFolder || path == sandbox_.ProgramFile("vboxBootlist.json");
  };
  EXPECT_EQ(Lines(Lost(beforeCloning, after, mayGo)), "") << "removed or changed, though the user's";
  if (!emptyCloneFolder.empty()) {
    EXPECT_FALSE(FolderExists(emptyCloneFolder)) << "clone folder left: " << emptyCloneFolder;
  }
  for (int64_t id = firstId; withTools && id < firstId + clones; ++id) {
    const std::string clone = CloneFolder(id);
    if (beforeDeleting.count(clone) && !beforeCloning.count(clone)) {
      EXPECT_FALSE(FolderExists(clone)) << "clone folder left: " << clone;
    }
  }
}

std::string RowName(const ::testing::TestParamInfo<DeletionRow>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(StoragePaths, VmwareDeletionTest, ::testing::ValuesIn(kRows), RowName);
INSTANTIATE_TEST_SUITE_P(StoragePaths, VboxDeletionTest, ::testing::ValuesIn(kRows), RowName);

}  // namespace

}  // namespace safety
