#pragma once
// Where the two hypervisors record their install folders, and how it is read.

#include <string>

struct RegistryLocation {
  const char* subKey;     // under HKEY_LOCAL_MACHINE
  const char* valueName;
};

// VMware Workstation's install folder (ends in a backslash). The 64-bit program
// reads the 64-bit view, so the key names the WOW6432Node branch itself.
inline constexpr RegistryLocation kVmwareInstallLocation{
    "SOFTWARE\\WOW6432Node\\VMware, Inc.\\VMware Workstation", "InstallPath"};

// VirtualBox's install folder (ends in a backslash).
inline constexpr RegistryLocation kVirtualBoxInstallLocation{"SOFTWARE\\Oracle\\VirtualBox", "InstallDir"};

// Reads a value under HKEY_LOCAL_MACHINE (any type, at most 255 bytes of
// text) into out and returns true. On failure writes "Error: <code>" to the
// diagnostics, leaves out unchanged and returns false.
bool ReadRegistryString(const char* subKey, const char* valueName, std::string& out);

inline bool ReadRegistryString(const RegistryLocation& location, std::string& out) {
  return ReadRegistryString(location.subKey, location.valueName, out);
}
