#pragma once
// Which address the window shows: the first "http..." word that follows the
// program path on the command line, or the built-in address of the UI page.

#include <string>
#include <string_view>

// Served by scripts/run (the ui/ folder) on the loopback.
inline constexpr wchar_t kDefaultUiAddress[] = L"http://127.0.0.1:18088/index.html";

// Longest address taken from the command line, in UTF-16 units.
inline constexpr size_t kUiAddressMaxLength = 511;

// The search for "http" (exact case) starts after the program path, the first
// word of the command line, quoted or not. The address runs from there to the
// end of the line, white space (space, tab, CR, LF) or a double quote, and is
// cut at kUiAddressMaxLength units. Without "http" the default is returned.
std::wstring UiAddressFromCommandLine(std::wstring_view commandLine, std::wstring_view defaultAddress);
