#pragma once
// Makes a run last at least STANDIN_DELAY_MS milliseconds, counted from the
// object's birth, so tests can watch Tarnwick wait on a slow hypervisor. The
// wait happens when the object goes, after the state lock is let go, so runs
// that overlap are not held up by each other's delay.

#include <windows.h>

namespace standins {

class MinimumRunTime {
 public:
  MinimumRunTime();
  ~MinimumRunTime();
  MinimumRunTime(const MinimumRunTime&) = delete;
  MinimumRunTime& operator=(const MinimumRunTime&) = delete;

 private:
  ULONGLONG start_;
  ULONGLONG minimumMs_ = 0;
};

}  // namespace standins
