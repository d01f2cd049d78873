#include "vbox/vbox_status.h"

#include "support/command_line.h"
#include "support/json_text.h"
#include "support/json_file.h"
#include "support/text_encoding.h"
#include "support/vboxmanage_words.h"
#include "vbox/vbox_list.h"
#include "vbox/vbox_prefs.h"

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsKeySeparator(char c) { return c == ' ' || c == '\t' || c == ':'; }

// Where the value of the line starting at `keyAt` begins, or npos when the
// text there is not the key followed by a separator or the line's end.
size_t ValueStart(std::string_view text, size_t keyAt, std::string_view key) {
  if (text.compare(keyAt, key.size(), key) != 0) return std::string_view::npos;
  size_t at = keyAt + key.size();
  if (at < text.size() && !IsKeySeparator(text[at]) && !IsLineEnd(text[at])) return std::string_view::npos;
  while (at < text.size() && IsKeySeparator(text[at])) ++at;
  return at;
}

}  // namespace

std::string ValueAfterKey(std::string_view text, std::string_view key) {
  if (key.empty()) return std::string();
  // Only a key that begins a line: a name or path containing the key's word
  // (a machine called "StateServer", a folder "D:\VM States") is no key line.
  for (size_t lineStart = 0; lineStart < text.size();) {
    const size_t valueStart = ValueStart(text, lineStart, key);
    if (valueStart != std::string_view::npos) {
      size_t valueEnd = valueStart;
      while (valueEnd < text.size() && !IsLineEnd(text[valueEnd])) ++valueEnd;
      return std::string(text.substr(valueStart, valueEnd - valueStart));
    }
    const size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string_view::npos) break;
    lineStart = lineEnd + 1;
  }
  return std::string();
}

namespace VboxBackend {

namespace {

using namespace VBoxManageWords;

constexpr char kQueryCopyFile[] = "consoletemp.ctemp";  // relative to the current folder

// One showvminfo query; "" without running anything when there is no tool path.
std::string QueryMachine(const std::string& tool, const std::string& arguments) {
  if (tool.empty()) return std::string();
  return RunVBoxManage(arguments, kQueryCopyFile);
}

void RefreshRecord(Json::Document& record, const VboxPrefs& prefs) {
  // A leading space of its own: the line reads <tool>, two spaces, showvminfo.
  const std::string arguments =
      std::string(" ") + kShowVmInfo + " " + QuoteIfSpaced(Utf8ToAnsi(Json::GetString(record, "name")));
  // The tool prints in the ANSI code page; the list holds UTF-8. A query the
  // tool could not answer leaves the machine's identity as it was: power and
  // delete find the machine by it, and an empty one would lose the machine.
  const auto keepUnlessEmpty = [&record](const char* member, const std::string& ansiValue) {
    if (!ansiValue.empty()) Json::SetString(record, member, AnsiToUtf8(ansiValue));
  };
  keepUnlessEmpty("uuid", ValueAfterKey(QueryMachine(prefs.InstallationPath, arguments), kUuidKey));
  keepUnlessEmpty("path", ValueAfterKey(QueryMachine(prefs.InstallationPath, arguments), kConfigFileKey));
  Json::SetString(record, "state",
                  AnsiToUtf8(ValueAfterKey(QueryMachine(prefs.InstallationPath, arguments), kStateKey)));
  // The master a clone was made from stays its master when the settings name
  // another one later: delete removes that master's snapshot by this name.
  if (Json::GetString(record, "belongTo").empty()) Json::SetString(record, "belongTo", AnsiToUtf8(prefs.MasterName));
}

}  // namespace

std::string RefreshStates() {
  if (!CloneListExists()) return "-1";
  std::optional<Json::Document> list = ReadCloneList();
  if (!list) return "-1";
  const VboxPrefs prefs = LoadPrefs();
  if (Json::Document* records = CloneRecords(*list)) {
    for (Json::Document& record : *records) RefreshRecord(record, prefs);
  }
  JsonFile::Write(*list, CloneListPath());
  return Json::SerializeCompact(*list);
}

}  // namespace VboxBackend
