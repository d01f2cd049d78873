#include "commands/command_table.h"

#include "commands/shell_commands.h"
#include "commands/vbox_commands.h"
#include "commands/vmware_commands.h"
#include "commands/window_commands.h"

namespace {

// In the page's order of comparison (names are distinct, so the order never
// changes the outcome).
const CommandRow kCommands[] = {
    // The window
    {"show", WindowCommands::Show},
    {"minimize", WindowCommands::Minimize},
    {"close", WindowCommands::Close},
    {"move_begin", WindowCommands::BeginDrag},
    {"move_end", WindowCommands::EndDrag},
    {"desktop_size", WindowCommands::DesktopSize},
    // VMware Workstation
    {"Vm_Clone_Settings", VmwareCommands::SaveSettings},
    {"Vm_shoose_dir", ShellCommands::ChooseVmrunFolder},
    {"Vm_Start_Cloning", VmwareCommands::CloneMachines},
    {"Vm_PowerON", VmwareCommands::StartMachines},
    {"Vm_Reboot", VmwareCommands::ResetMachines},
    {"Vm_Pause", VmwareCommands::SuspendMachines},
    {"Vm_UnPause", VmwareCommands::UnpauseMachines},
    {"Vm_Shutdown", VmwareCommands::StopMachines},
    {"Vm_Delete", VmwareCommands::DeleteMachines},
    {"FileDialog", ShellCommands::ChooseMasterFile},
    {"Vm_shoose", ShellCommands::ChooseStorageFolder},
    {"resultjson", VmwareCommands::LoadSettingsText},
    {"getlists", VmwareCommands::RefreshCloneList},
    {"openUrl", ShellCommands::OpenUrl},
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
    {"unpauseVBox", VboxCommands::Pause},   // pauses
    {"repauseVBox", VboxCommands::Resume},  // resumes
    {"vbox_shoose_dir", ShellCommands::ChooseVBoxManageFolder},
    // Both
    {"getversions", ShellCommands::GetVersion},
};

}  // namespace

std::span<const CommandRow> CommandTable() { return kCommands; }
