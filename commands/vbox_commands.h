#pragma once
// Handlers of the page's VirtualBox commands.

#include "commands/script_call.h"

namespace VboxCommands {

void SaveSettings(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);      // VboxPreferences
void LoadSettingsText(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);  // ResultVBoxPrefs
void RefreshStates(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // getStatusVBoxlist
void ListSelectable(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);    // resultseLectlist
void CloneMaster(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);       // cloneVBox

// The power rows read `type` and `id`. The page's "unpauseVBox" pauses and
// "repauseVBox" resumes.
void Start(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // startVBox
void PowerOff(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);  // offVBox
void Reset(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // restVBox
void Delete(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);    // delVBox
void Pause(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // unpauseVBox
void Resume(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);    // repauseVBox

}  // namespace VboxCommands
