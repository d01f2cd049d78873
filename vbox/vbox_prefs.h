#pragma once
// VirtualBox settings: VBoxPrefs.json in the program folder, holding
// {"Prefs": [ { the seven members below, in this order } ]}.

#include <cstdint>
#include <string>

struct VboxPrefs {
  std::string InstallationPath;  // the quoted VBoxManage.exe command, first word of every tool line
  std::string MasterName;        // name or UUID of the registered master machine
  std::string StoragePath;       // clone i is made in the folder StoragePath<i>
  std::string CloneTypy;         // the clone kind word (the file's spelling)
  int64_t CloneNumber = 0;       // kept for the page
  std::string NamePrefix;        // clone i is named NamePrefix<i>
  int64_t StartIntervalTime = 0; // kept for the page
};

namespace VboxBackend {

// Writes the settings file anew. The paths and names go through the ANSI code
// page and back (a character it cannot hold is stored as its default
// character); the clone kind is stored as given. True when the new file is in place.
bool SavePrefs(const std::string& installationPath, const std::string& masterName, const std::string& storagePath,
               const std::string& cloneType, int cloneNumber, const std::string& namePrefix, int startIntervalTime);

// The settings file as compact JSON text in the ANSI code page, or "-1" when
// it is missing or cannot be read as JSON.
std::string LoadPrefsText();

// The settings as the operations use them: every string in the ANSI code page;
// a missing file or member reads as "" and 0.
VboxPrefs LoadPrefs();

// Full path of the settings file.
std::string PrefsPath();

// Runs "<tool> <arguments>" with its output captured (and copied to
// copyFileName). "" without running anything when there is no settings file.
std::string RunVBoxManage(const std::string& arguments, const std::string& copyFileName);

}  // namespace VboxBackend
