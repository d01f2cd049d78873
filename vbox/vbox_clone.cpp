#include "vbox/vbox_clone.h"

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

constexpr char kPlaceholder[] = "dbug";  // until the status refresh reads the tool's values

// " snapshot <master> take <i> --description= --live --uniquename Space,Force"
std::string TakeSnapshotArguments(const std::string& master, const std::string& number) {
  return std::string(" ") + kSnapshot + " " + master + " " + kTake + " " + number + " " + kLiveSnapshotOptions;
}

// " clonevm <master> --basefolder="<storage><i>"  --name="<prefix><i>"   --options=<kind>
//   --options=KeepHwUUIDs  --register --mode=machine --snapshot=<i>" (one line)
std::string CloneArguments(const VboxPrefs& prefs, const std::string& master, const std::string& number) {
  return std::string(" ") + kCloneVm + " " + master + " " + kBaseFolderOption + "\"" + prefs.StoragePath + number +
         "\"  " + kNameOption + "\"" + prefs.NamePrefix + number + "\"   " + kOptionsOption + prefs.CloneTypy + " " +
         kKeepHardwareUuids + "  " + kRegister + " " + kMachineMode + " " + kSnapshotOption + number;
}

}  // namespace

int CloneFromMaster(int count) {
  if (!PrefsExist()) return -1;
  const VboxPrefs prefs = LoadPrefs();
  const std::string master = QuoteIfSpaced(prefs.MasterName);

  Json::Document list = Json::Document::object();
  Json::SetNumber(list, "code", 200);
  Json::Document records = Json::Document::array();
  for (int i = 0; i < count; ++i) {
    const std::string number = std::to_string(i);
    Json::Document record = Json::Document::object();
    Json::SetNumber(record, "id", i);
    // The snapshot must exist before the clone is made from it: each run ends first.
    RunToolLine(prefs.InstallationPath, TakeSnapshotArguments(master, number));
    Json::SetNumber(record, "snapshot", i);
    RunToolLine(prefs.InstallationPath, CloneArguments(prefs, master, number));
    Json::SetString(record, "name", AnsiToUtf8(prefs.NamePrefix + number));
    Json::SetString(record, "uuid", kPlaceholder);
    Json::SetString(record, "path", kPlaceholder);
    Json::SetString(record, "state", kPlaceholder);
    Json::SetString(record, "belongTo", AnsiToUtf8(prefs.MasterName));
    records.push_back(std::move(record));
  }
  if (count > 0) list["data"] = std::move(records);
  JsonFile::Write(list, CloneListPath());
  return 0;
}

}  // namespace VboxBackend
