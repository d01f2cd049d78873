#include "commands/command_table.h"

#include "commands/vbox_commands.h"
#include "commands/vmware_commands.h"

namespace {

const CommandRow kCommands[] = {
    // VMware Workstation
    {"Vm_Clone_Settings", VmwareCommands::SaveSettings},
    {"Vm_Start_Cloning", VmwareCommands::CloneMachines},
    {"Vm_PowerON", VmwareCommands::StartMachines},
    {"Vm_Reboot", VmwareCommands::ResetMachines},
    {"Vm_Pause", VmwareCommands::SuspendMachines},
    {"Vm_UnPause", VmwareCommands::UnpauseMachines},
    {"Vm_Shutdown", VmwareCommands::StopMachines},
    {"Vm_Delete", VmwareCommands::DeleteMachines},
    {"resultjson", VmwareCommands::LoadSettingsText},
    {"getlists", VmwareCommands::RefreshCloneList},
    // VirtualBox
    {"VboxPreferences", VboxCommands::SaveSettings},
    {"ResultVBoxPrefs", VboxCommands::LoadSettingsText},
    {"getStatusVBoxlist", VboxCommands::RefreshStates},
    {"resultseLectlist", VboxCommands::ListSelectable},
    {"cloneVBox", VboxCommands::CloneMaster},
    {"startVBox", VboxCommands::Start},
    {"offVBox", VboxCommands::PowerOff},
    {"restVBox", VboxCommands::Reset},
    {"delVBox", VboxCommands::Delete},
    {"unpauseVBox", VboxCommands::Pause},    // pauses
    {"repauseVBox", VboxCommands::Resume},   // resumes
};

}  // namespace

std::span<const CommandRow> CommandTable() { return kCommands; }
