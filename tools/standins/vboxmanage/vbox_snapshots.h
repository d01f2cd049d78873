#pragma once
// VBoxManage snapshot <vm> take|delete.

#include "tools/standins/vboxmanage/vbox_support.h"

namespace standins {

// snapshot <vm> take <name> [--description=<text>] [--live] [--pause] [--uniquename <flags>]
// snapshot <vm> delete <name|uuid>
CommandResult Snapshot(VboxWords words, VboxContext& context);

}  // namespace standins
