#pragma once
// The two settings files written straight into a program folder, in the form
// "Vm_Clone_Settings" and "VboxPreferences" save them (the product's own
// document writer), for tests that need settings in place but are not about
// saving them.

#include <string>

namespace safety {

struct VmwareSettings {
  std::string tool;  // quoted, as stored
  std::string master;
  std::string storage;
  int cloneNumber = 0;
  std::string namePrefix = "web";
  int intervalSeconds = 0;
};

struct VboxSettings {
  std::string tool;  // quoted, as stored
  std::string master;
  std::string storage;
  int cloneNumber = 0;
  std::string namePrefix = "vm";
};

// programFolder ends in a backslash; strings are ASCII or UTF-8.
void WriteVmwareSettings(const std::string& programFolder, const VmwareSettings& settings);
void WriteVboxSettings(const std::string& programFolder, const VboxSettings& settings);

// A tool path that names no program: every line of it starts nothing.
std::string MissingTool(const std::string& folder);

}  // namespace safety
