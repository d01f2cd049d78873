#pragma once
// The stand-ins keep every string in UTF-8 and convert only where Windows
// meets it: UTF-16 for the "W" functions, the ANSI code page for output.

#include <string>
#include <string_view>

namespace standins {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// What a console program of the ANSI code page prints; characters the code
// page cannot hold come out as its default character.
std::string Utf8ToAnsiCodePage(std::string_view utf8);

// ASCII-only lower case, for command words and option names.
std::string AsciiLower(std::string_view text);

}  // namespace standins
