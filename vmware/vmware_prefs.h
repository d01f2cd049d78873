#pragma once
// VMware Workstation settings: VMwarePrefs.json in the program folder, holding
// {"Prefs": [ { the eight members below, in this order } ]}.

#include <cstdint>
#include <string>

struct VmwarePrefs {
  std::string InstallationPath;  // the quoted vmrun.exe command, first word of every tool line
  std::string MasterPath;        // the master machine's .vmx file
  std::string StoragePath;       // folder of the clones, ending in a backslash
  std::string BootTask;          // kept for the page; no operation reads it
  std::string CloneTypy;         // clone type word for vmrun (the file's spelling)
  int64_t CloneNumber = 0;       // clones 0 .. CloneNumber-1
  std::string NamePrefix;        // clone i is named NamePrefix + i
  int64_t StartIntervalTime = 0; // seconds to wait after each machine
};

namespace VmwareBackend {

// Writes the settings file anew. Strings are UTF-8 as the page sent them (one
// that is not valid UTF-8 is left out). True when the new file is in place.
bool SavePrefs(const std::string& installationPath, const std::string& masterPath, const std::string& storagePath,
               const std::string& bootTask, const std::string& cloneType, int cloneNumber,
               const std::string& namePrefix, int startIntervalTime);

// The settings file as compact JSON text, or "false" when it is missing or
// cannot be read as JSON.
std::string LoadPrefsText();

// The settings as the operations use them: the four paths and names in the
// ANSI code page, the rest as stored; a missing file or member reads as "" and 0.
VmwarePrefs LoadPrefs();

// Full path of the settings file.
std::string PrefsPath();

}  // namespace VmwareBackend
