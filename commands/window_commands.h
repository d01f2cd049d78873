#pragma once
// Handlers of the page's window commands.

#include "commands/script_call.h"

namespace WindowCommands {

void Show(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);         // show
void Minimize(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);     // minimize
void Close(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);        // close
void BeginDrag(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);    // move_begin
void EndDrag(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);      // move_end
void DesktopSize(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);  // desktop_size

}  // namespace WindowCommands
