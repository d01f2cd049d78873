#include "engine/launch/browser_command_line.h"

#include <array>
#include <string_view>

#include "engine/launch/utf16_text.h"

namespace {

// Switches only this layer sets.
constexpr std::array<std::string_view, 4> kReservedSwitches = {
    "remote-debugging-port", "remote-debugging-address", "remote-allow-origins", "user-data-dir"};

// What keeps a hidden browser from throttling or phoning home.
constexpr std::array<std::string_view, 8> kFixedSwitches = {
    "headless=new",
    "no-first-run",
    "disable-background-networking",
    "disable-component-update",
    "disable-sync",
    "disable-renderer-backgrounding",
    "disable-background-timer-throttling",
    "disable-backgrounding-occluded-windows"};

bool IsReserved(const std::string& nameAndValue) {
  const std::string_view name = std::string_view(nameAndValue).substr(0, nameAndValue.find('='));
  for (std::string_view reserved : kReservedSwitches) {
    if (name == reserved) return true;
  }
  return false;
}

// " --name" or " --name=value", the value quoted when it needs it.
std::wstring Switch(std::string_view nameAndValue) {
  const size_t equals = nameAndValue.find('=');
  if (equals == std::string_view::npos) return L" --" + Utf8ToUtf16(nameAndValue);
  return L" --" + Utf8ToUtf16(nameAndValue.substr(0, equals + 1)) +
         QuoteArgument(Utf8ToUtf16(nameAndValue.substr(equals + 1)));
}

}  // namespace

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal except before a quote, where each is doubled.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');  // before the closing quote
  quoted.push_back(L'"');
  return quoted;
}

std::wstring BrowserCommandLine(const BrowserOptions& options, const std::string& userDataArgument) {
  std::wstring line = QuoteArgument(Utf8ToUtf16(options.program));
  line += Switch("remote-debugging-port=" + std::to_string(options.debuggingPort));
  line += Switch("remote-debugging-address=127.0.0.1");
  line += Switch("user-data-dir=" + userDataArgument);
  if (!options.locale.empty()) line += Switch("lang=" + options.locale);
  for (std::string_view fixed : kFixedSwitches) line += Switch(fixed);
  for (const std::string& extra : options.extraSwitches) {
    if (!extra.empty() && !IsReserved(extra)) line += Switch(extra);
  }
  line += L" about:blank";
  return line;
}
