#pragma once
// Handlers of the page's VMware Workstation commands.

#include "commands/script_call.h"

namespace VmwareCommands {

void SaveSettings(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);      // Vm_Clone_Settings
void CloneMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // Vm_Start_Cloning
void StartMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // Vm_PowerON
void ResetMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // Vm_Reboot
void SuspendMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);   // Vm_Pause
void UnpauseMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);   // Vm_UnPause
void StopMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);      // Vm_Shutdown
void DeleteMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);    // Vm_Delete
void LoadSettingsText(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);  // resultjson
void RefreshCloneList(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);  // getlists

}  // namespace VmwareCommands
