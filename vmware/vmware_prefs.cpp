#include "vmware/vmware_prefs.h"

#include <io.h>

#include "support/console_texts.h"
#include "support/diagnostics.h"
#include "support/json_file.h"
#include "support/program_directory.h"
#include "support/text_encoding.h"

namespace VmwareBackend {

std::string PrefsPath() { return ProgramDirectory() + "VMwarePrefs.json"; }

bool SavePrefs(const std::string& installationPath, const std::string& masterPath, const std::string& storagePath,
               const std::string& bootTask, const std::string& cloneType, int cloneNumber,
               const std::string& namePrefix, int startIntervalTime) {
  const std::string path = PrefsPath();
  Json::Document prefs = Json::Document::object();
  Json::SetString(prefs, "InstallationPath", installationPath);
  Json::SetString(prefs, "MasterPath", masterPath);
  Json::SetString(prefs, "StoragePath", storagePath);
  Json::SetString(prefs, "BootTask", bootTask);
  Json::SetString(prefs, "CloneTypy", cloneType);
  Json::SetNumber(prefs, "CloneNumber", cloneNumber);
  Json::SetString(prefs, "NamePrefix", namePrefix);
  Json::SetNumber(prefs, "StartIntervalTime", startIntervalTime);
  Json::Document document = Json::Document::object();
  document["Prefs"] = Json::Document::array({std::move(prefs)});

  Diagnostic("filename: %s\n", path.c_str());
  // Only a save that really replaced the file counts: an older file left in
  // place must not pass for the new settings.
  return JsonFile::Write(document, path) && _access(path.c_str(), 4) == 0;
}

std::string LoadPrefsText() {
  const std::string path = PrefsPath();
  Diagnostic("%s\n", path.c_str());
  if (_access(path.c_str(), 0) != 0) {
    Diagnostic("%s\n", ConsoleText::kVmwarePrefsMissing);
    return "false";
  }
  Diagnostic("%s\n", ConsoleText::kVmwarePrefsPresent);
  // A file that is there but not JSON is no settings at all to the page.
  return JsonFile::ReadCompact(path).value_or("false");
}

VmwarePrefs LoadPrefs() {
  VmwarePrefs prefs;
  const std::optional<Json::Document> document = JsonFile::Read(PrefsPath());
  if (!document) return prefs;
  const Json::Document* list = Json::GetArray(*document, "Prefs");
  if (Json::ArrayCount(list) == 0) return prefs;
  const Json::Document& first = (*list)[0];
  prefs.InstallationPath = Utf8ToAnsi(Json::GetString(first, "InstallationPath"));
  prefs.MasterPath = Utf8ToAnsi(Json::GetString(first, "MasterPath"));
  prefs.StoragePath = Utf8ToAnsi(Json::GetString(first, "StoragePath"));
  prefs.BootTask = Json::GetString(first, "BootTask");
  prefs.CloneTypy = Json::GetString(first, "CloneTypy");
  prefs.CloneNumber = Json::GetNumber(first, "CloneNumber");
  prefs.NamePrefix = Utf8ToAnsi(Json::GetString(first, "NamePrefix"));
  prefs.StartIntervalTime = Json::GetNumber(first, "StartIntervalTime");
  return prefs;
}

}  // namespace VmwareBackend
