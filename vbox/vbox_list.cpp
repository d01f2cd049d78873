#include "vbox/vbox_list.h"

#include <io.h>

#include "support/json_file.h"
#include "support/process_runner.h"
#include "support/program_directory.h"
#include "vbox/vbox_prefs.h"

namespace VboxBackend {

std::string CloneListPath() { return ProgramDirectory() + "vboxBootlist.json"; }

bool CloneListExists() { return _access(CloneListPath().c_str(), 0) == 0; }

bool PrefsExist() { return _access(PrefsPath().c_str(), 0) == 0; }

std::optional<Json::Document> ReadCloneList() { return JsonFile::Read(CloneListPath()); }

Json::Document* CloneRecords(Json::Document& list) {
  if (!list.is_object()) return nullptr;
  const auto found = list.find("data");
  return found != list.end() && found->is_array() ? &*found : nullptr;
}

void RunToolLine(const std::string& tool, const std::string& arguments) {
  if (tool.empty()) return;
  RunAndWait(tool + arguments);
}

}  // namespace VboxBackend
