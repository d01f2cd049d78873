#include "support/process_runner.h"

#include <windows.h>

#include <share.h>

#include <cstdio>
#include <memory>
#include <optional>

#include "support/win_handle.h"

namespace {

// At most this much of a tool's output is kept: 4 KB less room for a
// terminating zero, which callers holding it as a C string rely on.
constexpr DWORD kCaptureLimit = 4095;

STARTUPINFOA HiddenStartup() {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  return startup;
}

// Starts the command line without a console window; returns the process
// handle, empty when it could not be started. The thread handle is not needed
// and is closed on the way out.
WinHandle StartHidden(std::string& commandLine, STARTUPINFOA& startup, bool inheritHandles) {
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inheritHandles ? TRUE : FALSE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started)) {
    return WinHandle();
  }
  WinHandle unusedThread(started.hThread);
  return WinHandle(started.hProcess);
}

// A pipe read returns whatever has arrived so far, and tools print their answer
// in several writes, so read again until the tool closes its end (the read then
// fails with ERROR_BROKEN_PIPE or returns no bytes) or the limit is reached.
std::string ReadUntilEndOrLimit(HANDLE pipe) {
  std::string text(kCaptureLimit, '\0');
  DWORD held = 0;
  while (held < kCaptureLimit) {
    DWORD got = 0;
    if (!ReadFile(pipe, text.data() + held, kCaptureLimit - held, &got, nullptr) || got == 0) break;
    held += got;
  }
  text.resize(held);
  return text;
}

// Runs the command line and collects its output. nullopt means there is nothing
// to keep: the pipe could not be made, or the tool started and printed nothing.
// A tool that could not be started yields empty text. Every handle is closed by
// the time this returns.
std::optional<std::string> CaptureOutput(const std::string& commandLine) {
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return std::nullopt;
  WinHandle outputRead(readEnd);
  WinHandle outputWrite(writeEnd);
  // Only the write end goes to the child; were the read end inherited too, the
  // child would keep the pipe open for reading after we gave up on it.
  SetHandleInformation(outputRead.Get(), HANDLE_FLAG_INHERIT, 0);

  // No standard input: the tools read none, and a read of a missing handle
  // fails at once instead of waiting.
  STARTUPINFOA startup = HiddenStartup();
  startup.dwFlags |= STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = outputWrite.Get();
  startup.hStdError = outputWrite.Get();

  // Every inheritable handle goes to the child, not only the standard ones. A
  // process started from another thread right now would inherit our write end
  // too and keep the read below from ending while it runs; hence one tool at
  // a time, from one thread.
  std::string mutableLine = commandLine;
  WinHandle process = StartHidden(mutableLine, startup, true);
  if (!process) return std::string();

  // The pipe only reports its end once every write end is closed, ours included.
  outputWrite.Close();
  std::string output = ReadUntilEndOrLimit(outputRead.Get());
  if (output.empty()) return std::nullopt;
  return output;
}

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

// Text mode on purpose: the copy is read as a Windows text file, so each LF goes
// out as CR LF (a tool's own CR LF therefore becomes CR CR LF).
void WriteCopyFile(const std::string& fileName, const std::string& text) {
  std::unique_ptr<FILE, FileCloser> file(_fsopen(fileName.c_str(), "w", _SH_DENYNO));
  if (!file) return;
  fwrite(text.data(), 1, text.size(), file.get());
  fputc('\n', file.get());
  fflush(file.get());
}

}  // namespace

bool RunAndWait(std::string commandLine) {
  STARTUPINFOA startup = HiddenStartup();
  WinHandle process = StartHidden(commandLine, startup, false);
  if (!process) return false;
  WaitForSingleObject(process.Get(), INFINITE);
  return true;
}

std::string RunCaptured(const std::string& commandLine, const std::string& copyFileName) {
  const std::optional<std::string> output = CaptureOutput(commandLine);
  if (!output) return std::string();
  // Callers treat the output as a C string: it ends at the first zero byte.
  const std::string text(output->c_str());
  WriteCopyFile(copyFileName, text);
  return text;
}
