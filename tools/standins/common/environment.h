#pragma once
// The stand-ins' settings come from environment variables:
//   STANDIN_LOG       file that collects every raw command line
//   STANDIN_STATE     folder of the state file (default: beside the program)
//   STANDIN_DELAY_MS  the least time a run takes
//   STANDIN_FAULT     fail, garbage or silent: a run that misbehaves (fault_mode.h)

#include <optional>
#include <string>

namespace standins {

// The variable's value in UTF-8, or nothing when it is unset.
std::optional<std::string> EnvironmentVariable(const wchar_t* name);

}  // namespace standins
