#pragma once
// A job object that ends every process in it when its last handle closes, so
// the Windows browser ends with Tarnwick even when Tarnwick's process is
// ended by TerminateProcess (the system closes the handle then).

#include <windows.h>

#include "support/win_handle.h"

class KillOnCloseJob {
 public:
  // False when the job cannot be made or limited.
  bool Create();

  // Puts a process (started suspended, before it can start children) in the job.
  bool Assign(HANDLE process) const;

  // Ends every process in the job now; the job stays usable.
  void TerminateAll() const;

  void Close() { job_.Close(); }

 private:
  WinHandle job_;
};
