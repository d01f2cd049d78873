#pragma once
// VBoxManage startvm and controlvm.

#include "tools/standins/vboxmanage/vbox_support.h"

namespace standins {

// startvm <vm> [--type gui|headless|sdl|separate]
CommandResult StartVm(VboxWords words, VboxContext& context);
// controlvm <vm> poweroff|pause|resume|reset|savestate
CommandResult ControlVm(VboxWords words, VboxContext& context);

}  // namespace standins
