#pragma once
// Under Wine, a Unix program (the wrapper script, or /usr/bin/chromium
// itself) gets its arguments as they are written, so a folder it is handed
// must be a Unix path. Wine's kernel32 knows the mapping of its drives.

#include <string>

// Whether a program path names a Unix program (a path from the Unix root),
// which only Wine can start.
bool IsUnixProgramPath(const std::string& program);

// The Unix path (UTF-8) of a Windows path (UTF-8) when running under Wine;
// "" on Windows or when Wine cannot map the path.
std::string UnixPathUnderWine(const std::string& windowsPath);
