#include "engine/launch/browser_process.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>

#include "engine/launch/browser_command_line.h"
#include "engine/launch/environment_block.h"
#include "engine/launch/http_get.h"
#include "engine/launch/loopback_socket.h"
#include "engine/launch/wine_unix_path.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kPollInterval{50};
constexpr milliseconds kLongestRequest{2000};
// How long an ending browser may take to let go of its port and files.
constexpr milliseconds kEndingWait{10000};

BrowserStartResult Failed(BrowserStartFailure failure, std::string detail) {
  BrowserStartResult result;
  result.failure = failure;
  result.detail = std::move(detail);
  return result;
}

}  // namespace

BrowserStartResult BrowserProcess::Start(const BrowserOptions& options) {
  if (running_) return Failed(BrowserStartFailure::kCannotStart, "the browser is already running");
  if (options.program.empty()) return Failed(BrowserStartFailure::kCannotStart, "no browser program was found");
  if (!winsock_.started()) return Failed(BrowserStartFailure::kCannotStart, "Winsock could not be started");
  // A browser already there would be taken for ours.
  if (LoopbackPortAnswers(options.debuggingPort))
    return Failed(BrowserStartFailure::kPortInUse,
                  "port " + std::to_string(options.debuggingPort) + " on 127.0.0.1 is already in use");

  BrowserStartResult result = Launch(options);
  if (result.ok()) result = AwaitDebuggingPort(options);
  if (!result.ok()) Stop();
  return result;
}

BrowserStartResult BrowserProcess::Launch(const BrowserOptions& options) {
  if (!userData_.Prepare(options.userDataFolder))
    return Failed(BrowserStartFailure::kCannotStart, "the profile folder could not be made");
  std::string userDataArgument = userData_.path();
  if (IsUnixProgramPath(options.program)) {
    const std::string unixPath = UnixPathUnderWine(userDataArgument);
    if (!unixPath.empty()) userDataArgument = unixPath;
  }
  if (!lifeline_.Open() || !job_.Create())
    return Failed(BrowserStartFailure::kCannotStart, "no lifeline socket or job object could be made");

  std::wstring commandLine = BrowserCommandLine(options, userDataArgument);
  std::wstring environment = EnvironmentWith(kLifelinePortVariable, std::to_wstring(lifeline_.port()));
  // No standard handles: the browser must hold none of Tarnwick's pipes.
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = INVALID_HANDLE_VALUE;
  PROCESS_INFORMATION started{};
  // Suspended, so it is in the job before it can start processes of its own.
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(), nullptr,
                      &startup, &started))
    return Failed(BrowserStartFailure::kCannotStart,
                  "cannot start " + options.program + " (error " + std::to_string(GetLastError()) + ")");
  running_ = true;
  port_ = options.debuggingPort;

  // Wine returns no process handle for a Unix program (and the rest of the
  // structure is then not meaningful); the lifeline ends it instead.
  if (started.hProcess) {
    process_.Reset(started.hProcess);
    WinHandle thread(started.hThread);
    if (!job_.Assign(process_.Get())) {
      TerminateProcess(process_.Get(), 1);
      return Failed(BrowserStartFailure::kCannotStart, "the browser could not be put in a job object");
    }
    ResumeThread(thread.Get());
  }
  return {};
}

BrowserStartResult BrowserProcess::AwaitDebuggingPort(const BrowserOptions& options) {
  const Clock::time_point deadline = Clock::now() + options.timeout;
  for (;;) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    const std::string url = FetchWebSocketDebuggerUrl(port_, std::clamp(left, milliseconds(1), kLongestRequest));
    if (!url.empty()) {
      BrowserStartResult result;
      result.webSocketDebuggerUrl = url;
      return result;
    }
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0)
      return Failed(BrowserStartFailure::kNoAnswer, options.program + " ended before its debugging port answered");
    if (Clock::now() >= deadline)
      return Failed(BrowserStartFailure::kNoAnswer, options.program + " did not answer on port " +
                                                        std::to_string(port_) + " in time");
    Sleep(static_cast<DWORD>(kPollInterval.count()));
  }
}

void BrowserProcess::Stop() {
  if (running_) {
    job_.TerminateAll();
    if (process_) WaitForSingleObject(process_.Get(), static_cast<DWORD>(kEndingWait.count()));
    const bool unixProgram = !process_;
    process_.Close();
    // Under Wine this is what ends the browser: the wrapper sees it go.
    lifeline_.Close();
    if (unixProgram) WaitForPortToClose();
  }
  job_.Close();
  lifeline_.Close();
  userData_.Release();
  port_ = 0;
  running_ = false;
}

void BrowserProcess::WaitForPortToClose() const {
  const Clock::time_point deadline = Clock::now() + kEndingWait;
  while (LoopbackPortAnswers(port_) && Clock::now() < deadline) Sleep(static_cast<DWORD>(kPollInterval.count()));
}
