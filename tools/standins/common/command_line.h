#pragma once
// Splits a command line the way the C runtime does, so the stand-ins see the
// same words the real tools would: blanks separate, double quotes group
// ("--name=a b" quoted becomes one word), backslashes only escape quotes.

#include <string>
#include <string_view>
#include <vector>

namespace standins {

// The words after the program name.
std::vector<std::wstring> SplitCommandLineArguments(std::wstring_view commandLine);

// This process's words after the program name, in UTF-8.
std::vector<std::string> ProcessArguments();

}  // namespace standins
