#pragma once
// VBoxManage showvminfo and list.

#include "tools/standins/vboxmanage/vbox_support.h"

namespace standins {

// showvminfo <vm>: "Label:" padded to the real tool's column, then the value.
CommandResult ShowVmInfo(VboxWords words, VboxContext& context);
// list vms|runningvms: "<name>" {<uuid>} per machine.
CommandResult ListVms(VboxWords words, VboxContext& context);

}  // namespace standins
