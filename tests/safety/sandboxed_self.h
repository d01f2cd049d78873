#pragma once
// This test program relaunched as a child that acts out one case in-process
// (the pattern of Wine's conformance tests). The child is a copy of the
// program placed in a sandbox folder, so that ProgramDirectory() - and with it
// every settings and list file - is that folder.
//
//   <copy> --twk-safety-child=<mode>
//
// The child modes run from a static initializer before any test is set up
// and end the process with their exit code (see child_modes.cpp).

#include <string>

namespace safety {

inline constexpr char kChildSwitch[] = "--twk-safety-child=";

// Child modes.
inline constexpr char kSaveLoopMode[] = "save-loop";  // crash_safety_test.cpp
inline constexpr char kPumpMode[] = "pump";           // slow_tool_test.cpp

// Copies the running test program into `folder` (ending in a backslash) and
// returns the command line that starts the copy in `mode`.
std::string SandboxedSelfCommand(const std::string& folder, const std::string& mode);

}  // namespace safety
