#pragma once

#include <string>

// The folder of the running executable, in the ANSI code page, ending in a
// backslash. Every settings and list file lives there.
std::string ProgramDirectory();
