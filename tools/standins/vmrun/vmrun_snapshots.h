#pragma once
// vmrun snapshot, deleteSnapshot and clone.

#include "tools/standins/vmrun/vmrun_support.h"

namespace standins {

// snapshot <vmx> <name>
CommandResult TakeSnapshot(const VmrunParameters& parameters, VmrunState& state);
// deleteSnapshot <vmx> <name>
CommandResult DeleteSnapshot(const VmrunParameters& parameters, VmrunState& state);
// clone <vmx> <dest.vmx> linked|full [-snapshot=<name>] [-cloneName=<display name>]
CommandResult CloneMachine(const VmrunParameters& parameters, VmrunState& state);

}  // namespace standins
