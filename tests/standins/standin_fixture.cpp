#include "tests/standins/standin_fixture.h"

#include <windows.h>

#include "support/text_encoding.h"

using testing_support::ChildResult;

std::string StandinTest::CommandLine(const std::string& program, const std::string& arguments) const {
  return Quoted(testing_support::ProductBinFolder() + "standins\\" + program) + " " + arguments;
}

ChildResult StandinTest::Run(const std::string& program, const std::string& arguments) const {
  return testing_support::RunChild(CommandLine(program, arguments), "",
                                   {"STANDIN_STATE=" + StateFolder(), "STANDIN_LOG=" + LogPath()});
}

std::string LocalNameUtf8() {
  if (GetACP() == 936) return "\xE7\xBD\x91\xE7\xAB\x99";  // 网站
  return "Caf\xC3\xA9";                                    // Café
}

std::string Ansi(const std::string& utf8) { return Utf8ToAnsi(utf8); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::vector<std::string> OutputLines(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find("\r\n", start);
    if (end == std::string::npos) end = output.size();
    lines.push_back(output.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}
