#pragma once
// Handlers of the page's VirtualBox commands.

#include "commands/script_call.h"

namespace VboxCommands {

void SaveSettings(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);      // VboxPreferences
void LoadSettingsText(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);  // ResultVBoxPrefs

}  // namespace VboxCommands
