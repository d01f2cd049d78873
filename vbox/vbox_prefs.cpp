#include "vbox/vbox_prefs.h"

#include <io.h>

#include "support/json_file.h"
#include "support/process_runner.h"
#include "support/program_directory.h"
#include "support/text_encoding.h"

namespace VboxBackend {

namespace {

// What the tools will see of a text: only what the ANSI code page can hold.
std::string ThroughAnsi(const std::string& utf8) { return AnsiToUtf8(Utf8ToAnsi(utf8)); }

bool PrefsExist() { return _access(PrefsPath().c_str(), 0) == 0; }

}  // namespace

std::string PrefsPath() { return ProgramDirectory() + "VBoxPrefs.json"; }

bool SavePrefs(const std::string& installationPath, const std::string& masterName, const std::string& storagePath,
               const std::string& cloneType, int cloneNumber, const std::string& namePrefix, int startIntervalTime) {
  Json::Document prefs = Json::Document::object();
  Json::SetString(prefs, "InstallationPath", ThroughAnsi(installationPath));
  Json::SetString(prefs, "MasterName", ThroughAnsi(masterName));
  Json::SetString(prefs, "StoragePath", ThroughAnsi(storagePath));
  Json::SetString(prefs, "CloneTypy", cloneType);
  Json::SetNumber(prefs, "CloneNumber", cloneNumber);
  Json::SetString(prefs, "NamePrefix", ThroughAnsi(namePrefix));
  Json::SetNumber(prefs, "StartIntervalTime", startIntervalTime);
  Json::Document document = Json::Document::object();
  document["Prefs"] = Json::Document::array({std::move(prefs)});
  return JsonFile::Write(document, PrefsPath());
}

std::string LoadPrefsText() {
  if (!PrefsExist()) return "-1";
  const std::optional<std::string> text = JsonFile::ReadCompact(PrefsPath());
  return text ? Utf8ToAnsi(*text) : "-1";
}

VboxPrefs LoadPrefs() {
  VboxPrefs prefs;
  const std::optional<Json::Document> document = JsonFile::Read(PrefsPath());
  if (!document) return prefs;
  const Json::Document* list = Json::GetArray(*document, "Prefs");
  if (Json::ArrayCount(list) == 0) return prefs;
  const Json::Document& first = (*list)[0];
  prefs.InstallationPath = Utf8ToAnsi(Json::GetString(first, "InstallationPath"));
  prefs.MasterName = Utf8ToAnsi(Json::GetString(first, "MasterName"));
  prefs.StoragePath = Utf8ToAnsi(Json::GetString(first, "StoragePath"));
  prefs.CloneTypy = Utf8ToAnsi(Json::GetString(first, "CloneTypy"));
  prefs.CloneNumber = Json::GetNumber(first, "CloneNumber");
  prefs.NamePrefix = Utf8ToAnsi(Json::GetString(first, "NamePrefix"));
  prefs.StartIntervalTime = Json::GetNumber(first, "StartIntervalTime");
  return prefs;
}

std::string RunVBoxManage(const std::string& arguments, const std::string& copyFileName) {
  if (!PrefsExist()) return std::string();
  return RunCaptured(LoadPrefs().InstallationPath + " " + arguments, copyFileName);
}

}  // namespace VboxBackend
