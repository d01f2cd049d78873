#include "vmware/vmware_delete.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/command_line.h"
#include "support/folder_tree.h"
#include "support/process_runner.h"
#include "support/vmrun_words.h"
#include "vmware/vmware_inventory.h"
#include "vmware/vmware_list.h"
#include "vmware/vmware_power.h"
#include "vmware/vmware_prefs.h"

namespace VmwareBackend {

namespace {

using namespace VmrunWords;

constexpr int kAllClones = 0;
constexpr int kOneClone = 1;
constexpr int kHardStop = 1;

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Runs a line through the command interpreter, hidden, until it has finished.
void RunInCommandInterpreter(const std::string& line) {
  char interpreter[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("ComSpec", interpreter, sizeof(interpreter));
  const std::string program = length > 0 && length < sizeof(interpreter) ? interpreter : "cmd.exe";
  RunAndWait(QuoteIfSpaced(program) + " /c " + line);
}

// Only what Tarnwick made goes: the folders that hold a clone where cloning
// puts it (StoragePath, n, "\", n, ".vmx"), named by the clone number as the
// list names them, then the storage folder if that left it empty. Whatever
// else the user keeps there stays, numbered folders without a clone included.
void RemoveCloneFolders(const std::string& storagePath) {
  if (storagePath.empty() || IsVolumeRoot(storagePath) || !IsFolder(storagePath)) return;
  const std::optional<std::vector<std::string>> folders = SubfolderNames(storagePath);
  if (!folders) return;
  for (const std::string& name : *folders) {
    const std::optional<int> id = CloneIdOfFolder(name);
    if (id && IsFile(CloneMachinePath(storagePath, *id))) DeleteTree(storagePath + name);
  }
  RemoveDirectoryA(storagePath.c_str());  // fails, harmlessly, unless empty
}

// Workstation's list of machines holds the user's other machines too: moved
// aside in one step, it can be brought back. A move that fails leaves it in place.
void SetInventoryAside() {
  const std::string inventory = InventoryPath();
  const std::string backup = inventory + kInventoryBackupExtension;
  MoveFileExA(inventory.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void DeleteAllClones() {
  StopVms(kAllClones, 0, kHardStop);
  RunInCommandInterpreter(kEndWorkstation);
  RemoveCloneFolders(LoadPrefs().StoragePath);
  DeleteFileA(BootListPath().c_str());
  SetInventoryAside();
  RunInCommandInterpreter(kStartWorkstationMinimised);
}

void DeleteOneClone(int vmxId) {
  StopVms(kOneClone, vmxId, kHardStop);
  const std::string storagePath = LoadPrefs().StoragePath;
  // Without a storage folder the clone's folder would be taken for \<n> at
  // the drive's root; no clone has a negative number.
  if (storagePath.empty() || vmxId < 0) return;
  // The clone's folder is where cloning put it: StoragePath followed by the number.
  DeleteTree(storagePath + std::to_string(vmxId));
}

}  // namespace

bool DeleteVms(int type, int vmxId) {
  if (type == kAllClones) {
    DeleteAllClones();
    return true;
  }
  if (type == kOneClone) {
    DeleteOneClone(vmxId);
    return true;
  }
  return false;
}

}  // namespace VmwareBackend
