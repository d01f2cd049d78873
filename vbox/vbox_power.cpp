#include "vbox/vbox_power.h"

#include <windows.h>

#include <string>

#include "support/command_line.h"
#include "support/json_file.h"
#include "support/text_encoding.h"
#include "support/vboxmanage_words.h"
#include "vbox/vbox_list.h"
#include "vbox/vbox_prefs.h"

namespace VboxBackend {

namespace {

using namespace VBoxManageWords;

constexpr int kEveryClone = 0;
constexpr int kOneClone = 1;

// The blanks around the words of a power line: before the command, before the
// machine and before the action. The lines for every clone keep the spacing
// they have always had; a single clone's lines have single spaces.
struct LineSpacing {
  const char* beforeCommand;
  const char* beforeMachine;
  const char* beforeAction;
};

constexpr LineSpacing kSingleSpaced = {" ", " ", " "};

struct PowerAction {
  const char* command;
  const char* action;
  LineSpacing everyClone;
};

constexpr PowerAction kStart = {kStartVm, kHeadless, {"  ", "  ", "  "}};
constexpr PowerAction kPowerOffAction = {kControlVm, kPowerOff, {" ", "  ", " "}};
constexpr PowerAction kPauseAction = {kControlVm, kPause, {" ", "  ", "  "}};
constexpr PowerAction kResumeAction = {kControlVm, kResume, {" ", "  ", "  "}};
constexpr PowerAction kResetAction = {kControlVm, kReset, {" ", "  ", "  "}};

bool IsKnownType(int type) { return type == kEveryClone || type == kOneClone; }

bool IsChosen(const Json::Document& record, int type, int id) {
  return type == kEveryClone || Json::GetNumber(record, "id") == id;
}

std::string Uuid(const Json::Document& record) { return Utf8ToAnsi(Json::GetString(record, "uuid")); }

std::string PowerArguments(const PowerAction& action, const LineSpacing& spacing, const std::string& uuid) {
  return spacing.beforeCommand + std::string(action.command) + spacing.beforeMachine + uuid + spacing.beforeAction +
         action.action;
}

// Runs the action on the chosen clones of the list (a missing or unreadable
// list has none).
void RunOnClones(const PowerAction& action, int type, int id) {
  const std::string tool = LoadPrefs().InstallationPath;
  std::optional<Json::Document> list = ReadCloneList();
  Json::Document* records = list ? CloneRecords(*list) : nullptr;
  if (!records) return;
  const LineSpacing& spacing = type == kEveryClone ? action.everyClone : kSingleSpaced;
  for (const Json::Document& record : *records) {
    if (!IsChosen(record, type, id)) continue;
    RunToolLine(tool, PowerArguments(action, spacing, Uuid(record)));
    if (type == kOneClone) break;
  }
}

int ActOnListedClones(const PowerAction& action, int type, int id) {
  if (!CloneListExists() || !IsKnownType(type)) return -1;
  RunOnClones(action, type, id);
  return 0;
}

// " unregistervm  <uuid> --delete", then " snapshot  <master>  delete  <snapshot>".
void UnregisterAndDeleteSnapshot(const std::string& tool, const Json::Document& record) {
  RunToolLine(tool, std::string(" ") + kUnregisterVm + "  " + Uuid(record) + " " + kDeleteFiles);
  RunToolLine(tool, std::string(" ") + kSnapshot + "  " + QuoteIfSpaced(Utf8ToAnsi(Json::GetString(record, "belongTo"))) +
                        "  " + kDelete + "  " + std::to_string(Json::GetNumber(record, "snapshot")));
}

// The folder the clone was made in, once the tool has taken the machine out of
// it and nothing else is left there. A link to elsewhere stays.
void RemoveEmptyBaseFolder(const std::string& storagePath, const Json::Document& record) {
  const std::string folder = storagePath + std::to_string(Json::GetNumber(record, "id"));
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return;
  }
  RemoveDirectoryA(folder.c_str());  // refuses a folder that is not empty
}

void DeleteEveryClone(const VboxPrefs& prefs) {
  PowerOffVms(kEveryClone, 0);  // a running machine cannot be unregistered
  std::optional<Json::Document> list = ReadCloneList();
  if (const Json::Document* records = list ? CloneRecords(*list) : nullptr) {
    for (const Json::Document& record : *records) {
      UnregisterAndDeleteSnapshot(prefs.InstallationPath, record);
      RemoveEmptyBaseFolder(prefs.StoragePath, record);
    }
  }
  // Not the folder named by StoragePath: it is only the clones' name prefix and
  // may be a drive root or a folder of the user's.
  DeleteFileA(CloneListPath().c_str());
}

void DeleteOneClone(const VboxPrefs& prefs, int id) {
  std::optional<Json::Document> list = ReadCloneList();
  PowerOffVms(kOneClone, id);
  if (!list) return;  // an unreadable list is not overwritten
  if (Json::Document* records = CloneRecords(*list)) {
    for (size_t i = 0; i < records->size(); ++i) {
      if (!IsChosen((*records)[i], kOneClone, id)) continue;
      UnregisterAndDeleteSnapshot(prefs.InstallationPath, (*records)[i]);
      records->erase(i);
      break;
    }
  }
  JsonFile::Write(*list, CloneListPath());
}

}  // namespace

int StartVms(int type, int id) {
  if (!PrefsExist() || !IsKnownType(type)) return -1;
  RunOnClones(kStart, type, id);
  return 0;
}

int PowerOffVms(int type, int id) { return ActOnListedClones(kPowerOffAction, type, id); }
int PauseVms(int type, int id) { return ActOnListedClones(kPauseAction, type, id); }
int ResumeVms(int type, int id) { return ActOnListedClones(kResumeAction, type, id); }
int ResetVms(int type, int id) { return ActOnListedClones(kResetAction, type, id); }

int DeleteVms(int type, int id) {
  if (!CloneListExists() || !IsKnownType(type)) return -1;
  const VboxPrefs prefs = LoadPrefs();
  if (type == kEveryClone) {
    DeleteEveryClone(prefs);
  } else {
    DeleteOneClone(prefs, id);
  }
  return 0;
}

}  // namespace VboxBackend
