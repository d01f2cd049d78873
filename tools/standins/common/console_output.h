#pragma once
// Standard output and error as the real tools write them: ANSI code page
// bytes, written unchanged (callers put CR LF line ends in the text).

#include <string_view>

namespace standins {

void WriteToStdout(std::string_view utf8);
void WriteToStderr(std::string_view utf8);

}  // namespace standins
