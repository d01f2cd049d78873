#pragma once
// Child processes the safety tests start and may have to end: each runs in a
// job object of its own, so a hung command is ended together with every tool
// it started, and nothing it started outlives the run.

#include <windows.h>

#include <string>
#include <vector>

#include "support/win_handle.h"

namespace safety {

// Our environment with `additions` ("NAME=value") set on top: a block for
// CreateProcessA (double-NUL terminated), or empty for "ours unchanged".
std::string EnvironmentBlock(const std::vector<std::string>& additions);

struct WatchedRun {
  bool started = false;
  DWORD startError = 0;  // why it did not start
  bool hung = false;  // still running after the hang limit: ended with everything it started
  DWORD exitCode = 0;
  std::string out;
  std::string err;
};

// Runs a command line with `input` on standard input (then closed), collects
// both output streams and waits for the end. A run that has not ended after
// hangLimitMs is taken for hung: its job is ended. The limit only tells a
// hang from slowness and is far above any normal run.
WatchedRun RunWatched(const std::string& commandLine, const std::string& input,
                      const std::vector<std::string>& environment, DWORD hangLimitMs = 60000);

// A process started with its standard output on a pipe the test reads, in a
// job of its own; ended (with what it started) when the object goes.
class WatchedChild {
 public:
  WatchedChild(const std::string& commandLine, const std::vector<std::string>& environment);
  ~WatchedChild();
  WatchedChild(const WatchedChild&) = delete;
  WatchedChild& operator=(const WatchedChild&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  DWORD StartError() const { return startError_; }

  // Reads one byte of the child's output; false when it ended first.
  bool ReadByte(char& byte);

  // TerminateProcess on the child alone, as a crash would end it, and waits
  // until it is gone.
  void Kill();

 private:
  WinHandle job_;
  WinHandle process_;
  WinHandle output_;
  DWORD startError_ = 0;
};

}  // namespace safety
