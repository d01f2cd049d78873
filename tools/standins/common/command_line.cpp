#include "tools/standins/common/command_line.h"

#include <windows.h>

#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The program name ends at the first blank outside quotes; backslashes in it
// are plain characters, as in the runtime's own parser.
size_t EndOfProgramName(std::wstring_view line) {
  bool quoted = false;
  size_t i = 0;
  for (; i < line.size(); ++i) {
    if (line[i] == L'"') {
      quoted = !quoted;
    } else if (!quoted && IsBlank(line[i])) {
      break;
    }
  }
  return i;
}

}  // namespace

std::vector<std::wstring> SplitCommandLineArguments(std::wstring_view line) {
  std::vector<std::wstring> arguments;
  size_t i = EndOfProgramName(line);
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::wstring argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      if (line[i] == L'\\') {
        size_t backslashes = 0;
        while (i < line.size() && line[i] == L'\\') {
          ++backslashes;
          ++i;
        }
        const bool beforeQuote = i < line.size() && line[i] == L'"';
        if (!beforeQuote) {
          argument.append(backslashes, L'\\');
          continue;
        }
        // 2n backslashes and a quote: n backslashes, and the quote still groups;
        // 2n+1: n backslashes and a literal quote.
        argument.append(backslashes / 2, L'\\');
        if (backslashes % 2 == 1) {
          argument.push_back(L'"');
          ++i;
        }
        continue;
      }
      if (line[i] == L'"') {
        // Inside quotes, a doubled quote is one literal quote.
        if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
          argument.push_back(L'"');
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
        continue;
      }
      argument.push_back(line[i++]);
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::vector<std::string> ProcessArguments() {
  std::vector<std::string> arguments;
  for (const std::wstring& argument : SplitCommandLineArguments(GetCommandLineW())) {
    arguments.push_back(WideToUtf8(argument));
  }
  return arguments;
}

}  // namespace standins
