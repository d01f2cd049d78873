// Picks the child mode from the command line before any test is set up.

#include "tests/safety/child_modes.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "tests/safety/sandboxed_self.h"

namespace {

const bool kChildModeRan = [] {
  const char* found = strstr(GetCommandLineA(), safety::kChildSwitch);
  if (!found) return false;
  const std::string mode = found + strlen(safety::kChildSwitch);
  if (mode == safety::kSaveLoopMode) ExitProcess(static_cast<UINT>(safety::SaveLoopChild()));
  if (mode == safety::kPumpMode) ExitProcess(static_cast<UINT>(safety::PumpChild()));
  ExitProcess(99);  // no such mode
}();

}  // namespace
