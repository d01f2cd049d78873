#pragma once
// Times the tool processes this process starts, from their own creation and
// exit times, whatever starts them (the product's runners included): the
// process joins a job whose completion port reports every new process in it
// and every end, and a thread of this class opens each new process at once
// and reads its times when it ends.
//
// Under Wine a child started with a hidden console also starts a console host
// (conhost.exe), which outlives the tool; those are left out.

#include <windows.h>

#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "support/win_handle.h"

class ToolProcessClock {
 public:
  ToolProcessClock();
  ~ToolProcessClock();
  ToolProcessClock(const ToolProcessClock&) = delete;
  ToolProcessClock& operator=(const ToolProcessClock&) = delete;

  // False when the process could not join the job: nothing is timed then.
  bool working() const { return working_; }

  // The lifetimes (ms, creation to exit) of the tool processes that ended
  // since the last call, in the order they ended. Waits up to a second for
  // at least `expected` of them: an end is reported a moment after it.
  std::vector<double> TakeEnded(size_t expected);

 private:
  void Watch();
  void OnNew(DWORD processId);
  void OnEnd(DWORD processId);

  WinHandle job_;
  WinHandle port_;
  bool working_ = false;
  std::mutex mutex_;
  std::map<DWORD, WinHandle> running_;  // opened when they started
  std::vector<double> ended_;
  std::thread watcher_;
};
