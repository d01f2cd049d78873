#include "vbox/vbox_selection.h"

#include "support/diagnostics.h"
#include "support/json_file.h"
#include "support/json_text.h"
#include "support/program_directory.h"
#include "support/text_encoding.h"
#include "support/vboxmanage_words.h"
#include "vbox/vbox_list.h"
#include "vbox/vbox_prefs.h"

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"'; }
bool EndsField(char c) { return c == '\r' || c == '\n' || c == '"'; }

size_t SkipSeparators(std::string_view text, size_t at) {
  while (at < text.size() && IsSeparator(text[at])) ++at;
  return at;
}

size_t FieldEnd(std::string_view text, size_t at) {
  while (at < text.size() && !EndsField(text[at])) ++at;
  return at;
}

}  // namespace

std::map<std::string, std::string> ParseNameValueLines(std::string_view text) {
  std::map<std::string, std::string> entries;
  size_t at = SkipSeparators(text, 0);
  while (at < text.size()) {
    const size_t nameEnd = FieldEnd(text, at);
    const std::string_view name = text.substr(at, nameEnd - at);
    const size_t valueStart = SkipSeparators(text, nameEnd);
    if (valueStart >= text.size()) break;
    const size_t valueEnd = FieldEnd(text, valueStart);
    entries[std::string(name)] = std::string(text.substr(valueStart, valueEnd - valueStart));
    at = SkipSeparators(text, valueEnd);
  }
  return entries;
}

namespace VboxBackend {

namespace {

constexpr char kOutputCopyFile[] = "selectList.List";  // relative to the current folder

// Not "bootList.json": on Windows that is the same file as the VMware clone
// list "bootlist.json", which power and delete read; the selection list
// would replace it, and "start all" would then find no clone paths.
std::string SelectionListPath() { return ProgramDirectory() + "vboxSelectList.json"; }

// The lines of `list vms` output that name a machine (they start with its
// quoted name). Error or warning texts, which share the captured output, are
// left out so that their words never turn into machine names.
std::string MachineLines(std::string_view output) {
  std::string lines;
  size_t lineStart = 0;
  while (lineStart < output.size()) {
    size_t lineEnd = output.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = output.size();
    if (output[lineStart] == '"') lines.append(output.substr(lineStart, lineEnd - lineStart)).append("\n");
    lineStart = lineEnd + 1;
  }
  return lines;
}

// The clones this program makes are named <prefix><number>.
bool IsCloneName(const std::string& name, const std::string& prefix) {
  return !prefix.empty() && name.starts_with(prefix);
}

std::string WithoutBraces(std::string text) {
  std::erase_if(text, [](char c) { return c == '{' || c == '}'; });
  return text;
}

}  // namespace

std::string ListSelectableVms() {
  if (!PrefsExist()) return "-1";
  const VboxPrefs prefs = LoadPrefs();  // the prefix in the ANSI code page, like the tool's names
  if (prefs.InstallationPath.empty()) return "-1";
  const std::map<std::string, std::string> machines =
      ParseNameValueLines(MachineLines(RunVBoxManage(VBoxManageWords::kListVms, kOutputCopyFile)));
  if (machines.empty()) return "-1";

  Json::Document list = Json::Document::object();
  Json::SetNumber(list, "code", 200);
  Json::Document kept = Json::Document::array();
  for (const auto& [name, uuid] : machines) {
    if (IsCloneName(name, prefs.NamePrefix)) continue;
    Json::Document entry = Json::Document::object();
    Json::SetString(entry, "boot", AnsiToUtf8(name));
    kept.push_back(std::move(entry));
    Diagnostic("%s ---> %s\n", name.c_str(), WithoutBraces(uuid).c_str());
  }
  if (!kept.empty()) list["data"] = std::move(kept);
  JsonFile::Write(list, SelectionListPath());
  return Utf8ToAnsi(Json::SerializeCompact(list));
}

}  // namespace VboxBackend
