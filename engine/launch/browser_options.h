#pragma once
// What BrowserProcess::Start needs to know. Text is UTF-8.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint16_t kProductDebuggingPort = 2088;

struct BrowserOptions {
  // Full path of the browser program (see LocateBrowser). Under Wine a Unix
  // path works too, such as the project's wrapper script.
  std::string program;
  uint16_t debuggingPort = kProductDebuggingPort;
  // Profile folder; "" for a fresh temporary one, removed afterwards.
  std::string userDataFolder;
  // --lang; "" leaves it to the browser.
  std::string locale;
  // Further switches, written without dashes: "name" or "name=value".
  std::vector<std::string> extraSwitches;
  // How long the browser may take to answer on its debugging port.
  std::chrono::milliseconds timeout = std::chrono::seconds(20);
};
