#include "commands/window_commands.h"

#include <windows.h>

#include "commands/result_texts.h"
#include "commands/window_control.h"

namespace WindowCommands {

void Show(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment) {
  if (WindowControl* window = environment.window) {
    window->Place(data["x"].AsInt(), data["y"].AsInt(), data["w"].AsInt(), data["h"].AsInt());
    window->Show(data["show"].AsBool());
  }
  reply.Succeed(ResultText::kOk);
}

void Minimize(const LenientValue&, ScriptReply& reply, CommandEnvironment& environment) {
  if (environment.window) environment.window->PostMinimize();
  reply.Succeed(ResultText::kOk);
}

void Close(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment) {
  if (!data["tray"].AsBool()) {
    // Quit: the process ends here, before any reply.
    if (environment.window) environment.window->EndProgram();
    TerminateProcess(GetCurrentProcess(), 0);
  }
  if (environment.window) environment.window->Show(false);  // to the tray
  reply.Succeed(ResultText::kOk);
}

void BeginDrag(const LenientValue&, ScriptReply& reply, CommandEnvironment& environment) {
  if (environment.window) environment.window->SetDragging(true);
  reply.Succeed(ResultText::kOk);
}

void EndDrag(const LenientValue&, ScriptReply& reply, CommandEnvironment& environment) {
  if (environment.window) environment.window->SetDragging(false);
  reply.Succeed(ResultText::kOk);
}

void DesktopSize(const LenientValue&, ScriptReply& reply, CommandEnvironment&) {
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  reply.data["w"] = desktop.right - desktop.left;
  reply.data["h"] = desktop.bottom - desktop.top;
  reply.Succeed(ResultText::kOk);
}

}  // namespace WindowCommands
