#include "app/ui_address.h"

namespace {

bool EndsAddress(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'"'; }

// Where the program path (as Windows reads the first word) ends.
size_t ProgramPathEnd(std::wstring_view commandLine) {
  size_t at = commandLine.find_first_not_of(L" \t");
  if (at == std::wstring_view::npos) return commandLine.size();
  if (commandLine[at] == L'"') {
    // A quoted path has no escapes: it runs to the next quote.
    const size_t closing = commandLine.find(L'"', at + 1);
    return closing == std::wstring_view::npos ? commandLine.size() : closing + 1;
  }
  const size_t blank = commandLine.find_first_of(L" \t", at);
  return blank == std::wstring_view::npos ? commandLine.size() : blank;
}

}  // namespace

std::wstring UiAddressFromCommandLine(std::wstring_view commandLine, std::wstring_view defaultAddress) {
  const size_t start = commandLine.find(L"http", ProgramPathEnd(commandLine));
  if (start == std::wstring_view::npos) return std::wstring(defaultAddress.substr(0, kUiAddressMaxLength));
  size_t end = start;
  while (end < commandLine.size() && end - start < kUiAddressMaxLength && !EndsAddress(commandLine[end])) ++end;
  return std::wstring(commandLine.substr(start, end - start));
}
