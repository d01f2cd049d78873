#pragma once
// Handlers of the page's VMware Workstation commands.

#include "commands/script_call.h"

namespace VmwareCommands {

void SaveSettings(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);      // Vm_Clone_Settings
void CloneMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // Vm_Start_Cloning
void LoadSettingsText(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);  // resultjson

}  // namespace VmwareCommands
