#include "tests/safety/sandboxed_self.h"

#include <windows.h>

#include "tests/common/test_support.h"

namespace safety {

std::string SandboxedSelfCommand(const std::string& folder, const std::string& mode) {
  const std::string copy = folder + "safety-child.exe";
  CopyFileA(testing_support::TestProgramPath().c_str(), copy.c_str(), FALSE);
  return "\"" + copy + "\" " + kChildSwitch + mode;
}

}  // namespace safety
