#pragma once
// The clone list bootlist.json in the program folder: the clones found on
// disk, each with the state Workstation reports for it. The page shows it.
//
// {"code": 200, "data": [{"id", "name", "path", "state"}, ...]} (UTF-8); data
// is left out when no clone folder is found. state is "unknown", "runing" (so
// spelled: the page expects it) or "paused".

#include <optional>
#include <string>

namespace VmwareBackend {

// StoragePath, id, "\", id, ".vmx": the machine file of clone `id` (ANSI code
// page, as StoragePath is given).
std::string CloneMachinePath(const std::string& storagePath, int id);

// The clone number a folder of the storage folder stands for: a name that is
// the decimal number exactly as a clone's folder is named ("7", not "07");
// nullopt for any other folder.
std::optional<int> CloneIdOfFolder(const std::string& folderName);

std::string BootListPath();

// Rebuilds the clone list from the storage folder's clone folders (in the
// order NTFS lists them), marks as "runing" the clones vmrun lists as running
// and as "paused" those the inventory records so. Also rewrites the scratch
// files 1.vdat, dir.vlist (folder names) and list.dat (vmrun's answer) in the
// current folder. Only folders named by a clone number are clones; others
// are the user's and left out. False, with the list left as it was, when the
// settings file or the storage folder is missing, the folder cannot be listed
// or the list cannot be written; false also when vmrun's output cannot be
// piped, the list then holding every clone as "unknown".
bool RefreshList();

// The clone list as compact JSON text, or "-1" when there is none.
std::string LoadBootListText();

// The number of subfolders of StoragePath, their names also written to
// 1.vdat; -1 without a settings file, 0 when the folder cannot be listed.
int CountCloneFolders();

// Sets "paused" on every clone of the list that Workstation's inventory
// records as paused (suspended). False when the list is missing or unreadable,
// or, while the list holds clones, the inventory cannot be read.
bool MarkPausedFromInventory();

// Records clone `id` as "paused" in the list at once, until the next refresh.
// Nothing is written when the list is missing or does not hold the clone.
void MarkClonePaused(int id);

}  // namespace VmwareBackend
