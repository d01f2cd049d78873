#include "tests/safety/settings_files.h"

#include "support/json_document.h"
#include "support/json_file.h"

namespace safety {

void WriteVmwareSettings(const std::string& programFolder, const VmwareSettings& settings) {
  Json::Document prefs = Json::Document::object();
  Json::SetString(prefs, "InstallationPath", settings.tool);
  Json::SetString(prefs, "MasterPath", settings.master);
  Json::SetString(prefs, "StoragePath", settings.storage);
  Json::SetString(prefs, "BootTask", "");
  Json::SetString(prefs, "CloneTypy", "linked");
  Json::SetNumber(prefs, "CloneNumber", settings.cloneNumber);
  Json::SetString(prefs, "NamePrefix", settings.namePrefix);
  Json::SetNumber(prefs, "StartIntervalTime", settings.intervalSeconds);
  JsonFile::Write(Json::Document{{"Prefs", Json::Document::array({prefs})}}, programFolder + "VMwarePrefs.json");
}

void WriteVboxSettings(const std::string& programFolder, const VboxSettings& settings) {
  Json::Document prefs = Json::Document::object();
  Json::SetString(prefs, "InstallationPath", settings.tool);
  Json::SetString(prefs, "MasterName", settings.master);
  Json::SetString(prefs, "StoragePath", settings.storage);
  Json::SetString(prefs, "CloneTypy", "link");
  Json::SetNumber(prefs, "CloneNumber", settings.cloneNumber);
  Json::SetString(prefs, "NamePrefix", settings.namePrefix);
  Json::SetNumber(prefs, "StartIntervalTime", 0);
  JsonFile::Write(Json::Document{{"Prefs", Json::Document::array({prefs})}}, programFolder + "VBoxPrefs.json");
}

std::string MissingTool(const std::string& folder) { return "\"" + folder + "no-such-tool\\tool.exe\""; }

}  // namespace safety
