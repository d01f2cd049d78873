#include "tests/fuzz/request_safety.h"

#include <algorithm>
#include <cstring>

#include "commands/command_table.h"
#include "commands/lenient_value.h"
#include "commands/request_reader.h"
#include "support/text_encoding.h"
#include "tests/fuzz/request_generator.h"

namespace {

using JsonValue = nlohmann::ordered_json;

bool IsNameByte(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
         (c != '\0' && std::strchr("_-.~$", c) != nullptr);
}

std::string WithoutSandbox(std::string text, const std::string& sandbox) {
  for (size_t at = text.find(sandbox); at != std::string::npos; at = text.find(sandbox, at)) text.erase(at, sandbox.size());
  return text;
}

// A text that may end up on a tool's command line or as a path: apart from
// the sandbox folder itself it names nothing absolute, no parent folder, no
// drive, no root, no share, no other protocol. A backslash is only allowed
// inside a relative name ("a\b"), so even a word of its own on a command line
// ("--basefolder=\x") stays relative to the sandbox, the current folder.
bool StaysInSandbox(const std::string& text, const std::string& sandbox) {
  const std::string rest = WithoutSandbox(text, sandbox);
  if (rest.find("..") != std::string::npos || rest.find_first_of(":/") != std::string::npos) return false;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '\\' && (i == 0 || !IsNameByte(rest[i - 1]))) return false;
  }
  return true;
}

// The first word of every tool line: empty, or a program in the sandbox
// (quoted or not). Anything else could name a program of the system.
bool IsSandboxTool(const std::string& text, const std::string& sandbox) {
  if (text.empty()) return true;
  const bool quoted = text[0] == '"';
  // Unquoted, a blank in the folder's own name would end the program's name early.
  if (!quoted && sandbox.find_first_of(" \t") != std::string::npos) return false;
  return text.compare(quoted ? 1 : 0, sandbox.size(), sandbox) == 0;
}

// Both spellings count: the files hold UTF-8, the tools and file functions get
// the ANSI conversion, which may turn a character into '\', ':' or '.'.
bool IsSafeText(const std::string& name, const std::string& utf8, const SandboxFolder& sandbox) {
  const std::string ansi = Utf8ToAnsi(utf8);
  if (!StaysInSandbox(utf8, sandbox.utf8) || !StaysInSandbox(ansi, sandbox.ansi)) return false;
  if (name == "InstallationPath") return IsSandboxTool(utf8, sandbox.utf8) && IsSandboxTool(ansi, sandbox.ansi);
  return true;
}

bool IsLongWork(const std::string& name) {
  const auto names = LongWorkMembers();
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsCommand(const std::string& func) {
  for (const CommandRow& row : CommandTable()) {
    if (func == row.name) return true;
  }
  return false;
}

// Fixes the members of `data` (an object); true when one was changed.
bool MakeMembersSafe(JsonValue& data, const SandboxFolder& sandbox) {
  bool changed = false;
  for (auto& [name, value] : data.items()) {
    const LenientValue member(&value);
    if (IsLongWork(name)) {
      const int number = member.AsInt();
      if (number < -kLongWorkLimit || number > kLongWorkLimit) {
        value = std::clamp(number, -kLongWorkLimit, kLongWorkLimit);
        changed = true;
      }
    } else if (name != "url" && !IsSafeText(name, member.AsString(), sandbox)) {
      // url only reaches the shell, which the fuzz's choosers stand in for.
      value = name == "InstallationPath" ? "\"" + sandbox.utf8 + "standins\\missing.exe\""
                                         : sandbox.utf8 + "made-safe\\";
      changed = true;
    }
  }
  return changed;
}

}  // namespace

bool MakeRequestSafe(std::string& text, const SandboxFolder& sandbox) {
  std::optional<JsonValue> request = ParseRequestText(text);
  if (!request || !request->is_object()) return false;  // no func: no command runs
  const LenientValue root(&*request);
  const std::string func = root["func"].AsString();
  if (!IsCommand(func)) return false;

  bool changed = false;
  JsonValue& data = (*request)["data"];
  if (data.is_object()) changed = MakeMembersSafe(data, sandbox);
  // "close" without tray ends the process before it answers.
  if (func == "close" && !root["data"]["tray"].AsBool()) {
    if (!data.is_object()) data = JsonValue::object();
    data["tray"] = true;
    changed = true;
  }
  if (changed) text = request->dump(-1, ' ', false, JsonValue::error_handler_t::replace);
  return changed;
}
