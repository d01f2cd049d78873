#pragma once
// The running browser that Tarnwick's page is rendered by. The object owns
// it: the browser ends when the object goes, and also when Tarnwick's process
// ends without running any clean-up (a job object on Windows, the lifeline
// under Wine). Single-threaded; not copyable or movable, as the browser's
// lifetime is tied to the object's.

#include <cstdint>
#include <string>

#include "engine/launch/browser_options.h"
#include "engine/launch/kill_on_close_job.h"
#include "engine/launch/lifeline.h"
#include "engine/launch/user_data_folder.h"
#include "engine/net/winsock_init.h"
#include "support/win_handle.h"

enum class BrowserStartFailure {
  kNone,
  kCannotStart,  // no program, or it could not be started: reported at once
  kPortInUse,    // something already answers on the debugging port
  kNoAnswer,     // started, but no WebSocket address on the port in time
};

struct BrowserStartResult {
  BrowserStartFailure failure = BrowserStartFailure::kNone;
  std::string webSocketDebuggerUrl;  // when started: "ws://127.0.0.1:<port>/devtools/browser/<id>"
  std::string detail;                // when not: why, in UTF-8, for the diagnostics

  bool ok() const { return failure == BrowserStartFailure::kNone; }
};

class BrowserProcess {
 public:
  BrowserProcess() = default;
  ~BrowserProcess() { Stop(); }
  BrowserProcess(const BrowserProcess&) = delete;
  BrowserProcess& operator=(const BrowserProcess&) = delete;

  // Starts the browser and waits (polling /json/version) until its debugging
  // port gives the WebSocket address, or the time-out passes. On failure
  // nothing started is left running. Fails when already running.
  BrowserStartResult Start(const BrowserOptions& options);

  // Ends the browser (by force: it has no unsaved state Tarnwick needs) and
  // removes a temporary profile folder. Nothing happens when not running.
  void Stop();

  bool IsRunning() const { return running_; }
  // The profile folder in use (UTF-8); "" when not running.
  const std::string& userDataFolder() const { return userData_.path(); }

 private:
  BrowserStartResult Launch(const BrowserOptions& options);
  BrowserStartResult AwaitDebuggingPort(const BrowserOptions& options);
  void WaitForPortToClose() const;

  WinsockSession winsock_;
  KillOnCloseJob job_;
  Lifeline lifeline_;
  WinHandle process_;  // empty for a Unix program under Wine, which has no handle
  UserDataFolder userData_;
  uint16_t port_ = 0;
  bool running_ = false;
};
