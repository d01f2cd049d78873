#include "support/output_capture.h"

#include <windows.h>

#include "support/message_pump.h"
#include "support/win_handle.h"

namespace {

// How often a running tool's pipe is looked at when nothing else wakes us.
// Anonymous pipes cannot be waited on, so new output is noticed by looking.
constexpr DWORD kLookAgainMs = 50;

// Appends what the pipe holds now without blocking. False once every write
// end is closed and the pipe is empty.
bool TakeWhatIsThere(HANDLE pipe, std::string& text, bool& tookSome) {
  tookSome = false;
  DWORD available = 0;
  if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
  if (available == 0) return true;
  const size_t held = text.size();
  text.resize(held + available);
  DWORD got = 0;
  const bool read = ReadFile(pipe, text.data() + held, available, &got, nullptr);
  text.resize(held + got);
  tookSome = got > 0;
  return read;
}

}  // namespace

std::optional<CapturedOutput> CaptureWholeOutput(const std::string& commandLine) {
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return std::nullopt;
  WinHandle outputRead(readEnd);
  WinHandle outputWrite(writeEnd);
  // Only the write end is the child's: an inherited read end would keep the
  // pipe from ever reporting its end.
  SetHandleInformation(outputRead.Get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = nullptr;
  startup.hStdOutput = outputWrite.Get();
  startup.hStdError = nullptr;
  PROCESS_INFORMATION started{};
  std::string mutableLine = commandLine;
  CapturedOutput output;
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &started)) {
    return output;
  }
  output.started = true;
  WinHandle process(started.hProcess);
  WinHandle unusedThread(started.hThread);
  // The pipe reports its end only once every write end is closed, ours too.
  outputWrite.Close();

  bool ended = false;
  for (;;) {
    bool tookSome = false;
    if (!TakeWhatIsThere(outputRead.Get(), output.text, tookSome)) break;
    if (tookSome) continue;
    // Ended and drained. A process the tool left running with our pipe is
    // not waited for.
    if (ended) break;
    HANDLE waitFor = process.Get();
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &waitFor, kLookAgainMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) ended = true;
    if (woke == WAIT_OBJECT_0 + 1) DispatchWaitingMessages();
  }
  return output;
}
