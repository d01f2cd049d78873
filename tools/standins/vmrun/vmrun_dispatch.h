#pragma once
// vmrun's command line: [-T ws] [authentication flags] <command> <parameters>.

#include <string>
#include <vector>

#include "tools/standins/common/standin_runner.h"
#include "tools/standins/vmrun/vmx_machines.h"

namespace standins {

CommandResult RunVmrunCommand(const std::vector<std::string>& arguments, VmrunState& state);

}  // namespace standins
