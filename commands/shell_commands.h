#pragma once
// Handlers of the page's dialog, shell and version commands.

#include "commands/script_call.h"

namespace ShellCommands {

void ChooseVmrunFolder(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);       // Vm_shoose_dir
void ChooseVBoxManageFolder(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);  // vbox_shoose_dir
void ChooseStorageFolder(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // Vm_shoose
void ChooseMasterFile(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);        // FileDialog
void OpenUrl(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);                 // openUrl
void GetVersion(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);              // getversions

}  // namespace ShellCommands
