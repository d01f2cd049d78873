#include "tools/standins/vmrun/vmware_inventory.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "tools/standins/common/cross_process_lock.h"
#include "tools/standins/common/files.h"
#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

// Workstation writes `"` and `|` inside values as |22 and |7C.
std::string EscapeValue(std::string_view value) {
  std::string escaped;
  for (char c : value) {
    if (c == '"') {
      escaped += "|22";
    } else if (c == '|') {
      escaped += "|7C";
    } else {
      escaped.push_back(c);
    }
  }
  return escaped;
}

std::string UnescapeValue(std::string_view value) {
  std::string plain;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '|' && i + 2 < value.size()) {
      const std::string code = AsciiLower(value.substr(i + 1, 2));
      if (code == "22" || code == "7c") {
        plain.push_back(code == "22" ? '"' : '|');
        i += 2;
        continue;
      }
    }
    plain.push_back(value[i]);
  }
  return plain;
}

struct InventoryLine {
  unsigned index;
  std::string key;
  std::string value;
};

// `vmlist12.DisplayName = "web2"` -> {12, "DisplayName", "web2"}.
std::optional<InventoryLine> ParseLine(std::string_view line) {
  constexpr std::string_view kPrefix = "vmlist";
  if (line.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  size_t at = kPrefix.size();
  unsigned index = 0;
  const size_t digitsStart = at;
  while (at < line.size() && line[at] >= '0' && line[at] <= '9') index = index * 10 + unsigned(line[at++] - '0');
  if (at == digitsStart || at >= line.size() || line[at] != '.') return std::nullopt;
  const size_t equals = line.find('=', at);
  const size_t open = line.find('"', equals == std::string_view::npos ? line.size() : equals);
  const size_t close = line.rfind('"');
  if (equals == std::string_view::npos || open == std::string_view::npos || close <= open) return std::nullopt;
  std::string_view key = line.substr(at + 1, equals - at - 1);
  while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
  return InventoryLine{index, std::string(key), UnescapeValue(line.substr(open + 1, close - open - 1))};
}

std::string CurrentUserName() {
  wchar_t name[256 + 1] = {};
  DWORD length = sizeof(name) / sizeof(name[0]);
  if (!GetUserNameW(name, &length) || length == 0) return std::string();
  return WideToUtf8(std::wstring_view(name, length - 1));  // the count includes the terminator
}

InventoryEntry EntryOf(const VmxMachine& machine) {
  const bool paused = machine.power == PowerState::kPaused || machine.power == PowerState::kSuspended;
  return InventoryEntry{machine.path, machine.displayName, machine.isClone, paused ? "paused" : "normal"};
}

}  // namespace

std::string InventoryPath() { return "C:\\Users\\" + CurrentUserName() + "\\AppData\\Roaming\\VMware\\inventory.vmls"; }

std::vector<InventoryEntry> ParseInventory(const std::string& text) {
  std::map<unsigned, InventoryEntry> blocks;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    const std::optional<InventoryLine> parsed = ParseLine(line);
    if (!parsed) continue;
    InventoryEntry& entry = blocks[parsed->index];
    if (parsed->key == "config") entry.config = parsed->value;
    if (parsed->key == "DisplayName") entry.displayName = parsed->value;
    if (parsed->key == "IsClone") entry.isClone = AsciiLower(parsed->value) == "true";
    if (parsed->key == "State") entry.state = parsed->value;
  }
  std::vector<InventoryEntry> entries;
  for (auto& [index, entry] : blocks) {
    if (!entry.config.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}

std::string RenderInventory(const std::vector<InventoryEntry>& entries) {
  std::string text = ".encoding = \"UTF-8\"\r\n";
  unsigned index = 0;
  for (const InventoryEntry& entry : entries) {
    const std::string prefix = "vmlist" + std::to_string(++index) + ".";
    const std::pair<const char*, std::string> lines[] = {
        {"config", entry.config},
        {"DisplayName", entry.displayName},
        {"ParentID", "0"},
        {"ItemID", std::to_string(index)},
        {"SeqID", "0"},
        {"IsFavorite", "FALSE"},
        {"IsClone", entry.isClone ? "TRUE" : "FALSE"},
        {"CfgVersion", "8"},
        {"State", entry.state.empty() ? "normal" : entry.state},
    };
    for (const auto& [key, value] : lines) text += prefix + key + " = \"" + EscapeValue(value) + "\"\r\n";
  }
  return text;
}

bool UpdateInventory(const VmrunState& state) {
  const std::string path = InventoryPath();
  CrossProcessLock lock(path);
  std::vector<InventoryEntry> entries;
  for (const VmxMachine& machine : state.machines) entries.push_back(EntryOf(machine));

  // Blocks this state does not own stay while their machine exists on disk.
  const std::optional<std::string> existing = ReadWholeFile(path);
  for (InventoryEntry& other : ParseInventory(existing.value_or(std::string()))) {
    const bool ours = std::any_of(state.machines.begin(), state.machines.end(),
                                  [&](const VmxMachine& machine) { return SamePath(machine.path, other.config); });
    if (!ours && FileExists(other.config)) entries.push_back(std::move(other));
  }

  const std::string text = RenderInventory(entries);
  if (existing && *existing == text) return true;
  return CreateFolderTree(ParentFolder(path)) && ReplaceFileAtomically(path, text);
}

}  // namespace standins
