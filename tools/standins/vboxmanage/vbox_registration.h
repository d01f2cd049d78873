#pragma once
// VBoxManage createvm, clonevm and unregistervm: the commands that make and
// remove machines and their settings files.

#include "tools/standins/vboxmanage/vbox_support.h"

namespace standins {

// createvm --name <name> [--basefolder <dir>] [--ostype <type>] [--register]
CommandResult CreateVm(VboxWords words, VboxContext& context);
// clonevm <vm> [--snapshot=<name>] [--mode=machine|machineandchildren|all] [--options=<kinds>]...
//   [--name=<name>] [--basefolder=<dir>] [--register]
CommandResult CloneVm(VboxWords words, VboxContext& context);
// unregistervm <vm> [--delete]
CommandResult UnregisterVm(VboxWords words, VboxContext& context);

}  // namespace standins
