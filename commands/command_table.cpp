#include "commands/command_table.h"

#include "commands/vbox_commands.h"
#include "commands/vmware_commands.h"

namespace {

const CommandRow kCommands[] = {
    // VMware Workstation
    {"Vm_Clone_Settings", VmwareCommands::SaveSettings},
    {"Vm_Start_Cloning", VmwareCommands::CloneMachines},
    {"resultjson", VmwareCommands::LoadSettingsText},
    // VirtualBox
    {"VboxPreferences", VboxCommands::SaveSettings},
    {"ResultVBoxPrefs", VboxCommands::LoadSettingsText},
};

}  // namespace

std::span<const CommandRow> CommandTable() { return kCommands; }
