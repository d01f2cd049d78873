#include "app/foreground.h"

void BringToForeground(HWND window) {
  const HWND foreground = GetForegroundWindow();
  if (foreground == window) return;
  const DWORD ownThread = GetCurrentThreadId();
  const DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  // The system lets a thread take the foreground when it shares input with the thread that has it.
  const bool joined = foregroundThread != 0 && foregroundThread != ownThread &&
                      AttachThreadInput(ownThread, foregroundThread, TRUE);
  SetForegroundWindow(window);
  if (joined) AttachThreadInput(ownThread, foregroundThread, FALSE);
  SetActiveWindow(window);
}
