#pragma once
// Pieces every vmrun command uses: its error form and finding a machine.

#include <string>
#include <vector>

#include "tools/standins/common/standin_runner.h"
#include "tools/standins/vmrun/vmx_machines.h"

namespace standins {

using VmrunParameters = std::vector<std::string>;  // the words after the command word

// vmrun reports "Error: <message>" and exits with 255.
constexpr int kVmrunFailure = 255;
CommandResult VmrunFailure(const std::string& message);

// The machine whose .vmx is at `path`, remembered from now on if it is new;
// nothing when there is no such file.
VmxMachine* MachineOnDisk(VmrunState& state, const std::string& path);
CommandResult MissingMachine(const std::string& path);

}  // namespace standins
