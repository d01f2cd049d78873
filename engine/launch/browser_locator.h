#pragma once
// Which browser program Tarnwick starts.

#include <string>

// Name of the environment variable that overrides the search.
inline constexpr wchar_t kBrowserVariable[] = L"TARNWICK_BROWSER";

// App Paths keys looked at (under HKEY_LOCAL_MACHINE, then HKEY_CURRENT_USER),
// in order of preference; their default value is the program's full path.
inline constexpr const wchar_t* kBrowserAppPaths[] = {
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\msedge.exe",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\chrome.exe",
};

// The full path (UTF-8) of the browser to start: TARNWICK_BROWSER as it is
// given (under Wine it may be a Unix path), else the first App Paths entry
// naming a file that exists, else "".
std::string LocateBrowser();
