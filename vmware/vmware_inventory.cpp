#include "vmware/vmware_inventory.h"

#include <windows.h>

#include <lmcons.h>

#include <algorithm>

#include "support/text_encoding.h"
#include "support/vmrun_words.h"
#include "support/win_handle.h"

namespace VmwareBackend {

namespace {

using namespace VmrunWords;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

// Values are written `key = "value"`, and a value (a display name, a path)
// may hold spaces: reading a quoted value as one token keeps the state at its
// fixed distance from the path whatever the names hold.
std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  size_t at = 0;
  while (at < text.size()) {
    if (IsBlank(text[at])) {
      ++at;
      continue;
    }
    size_t end = at + 1;
    if (text[at] == '"') {
      end = text.find('"', at + 1);
      end = end == std::string::npos ? text.size() : end + 1;
    } else {
      while (end < text.size() && !IsBlank(text[end])) ++end;
    }
    tokens.push_back(text.substr(at, end - at));
    at = end;
  }
  return tokens;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // Workstation may be rewriting the file right now: share everything.
  const WinHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string text;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr)) {
    if (got == 0) return text;
    text.append(buffer, got);
  }
  return std::nullopt;
}

}  // namespace

std::string InventoryPath() {
  char user[UNLEN + 1] = {};
  DWORD length = sizeof(user);
  if (!GetUserNameA(user, &length)) user[0] = '\0';
  return std::string(kInventoryUsersFolder) + user + kInventoryInUserFolder;
}

std::optional<Inventory> ReadInventory(const std::string& path) {
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return std::nullopt;
  Inventory inventory;
  inventory.tokens = Tokens(*text);
  const std::vector<std::string>& tokens = inventory.tokens;
  inventory.utf8 = tokens.size() >= 3 && tokens[0] == kInventoryEncodingKey && tokens[1] == "=" &&
                   _stricmp(tokens[2].c_str(), kInventoryUtf8) == 0;
  return inventory;
}

std::string MachineStateToken(const Inventory& inventory, const std::string& utf8Path) {
  const std::string path = inventory.utf8 ? utf8Path : Utf8ToAnsi(utf8Path);
  const std::string quoted = "\"" + path + "\"";
  const std::vector<std::string>& tokens = inventory.tokens;
  const auto found = std::find(tokens.begin(), tokens.end(), quoted);
  if (found == tokens.end()) return std::string();
  const size_t state = static_cast<size_t>(found - tokens.begin()) + kInventoryStateOffset;
  return state < tokens.size() ? tokens[state] : std::string();
}

}  // namespace VmwareBackend
