#pragma once
// vmrun start, stop, reset, suspend, pause, unpause and list.

#include <string_view>

#include "tools/standins/vmrun/vmrun_support.h"

namespace standins {

// Runs the power command named by `word` (lower case); nothing when `word`
// is not one.
std::optional<CommandResult> ChangePower(std::string_view word, const VmrunParameters& parameters, VmrunState& state);

// "Total running VMs: N", then each powered-on machine's path as it was started.
CommandResult ListRunning(const VmrunParameters& parameters, VmrunState& state);

}  // namespace standins
