#include "support/interval_wait.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "support/message_pump.h"

void WaitHandlingMessages(int64_t seconds) {
  if (seconds <= 0) return;
  // A setting too large to count in milliseconds waits as long as can be counted.
  constexpr uint64_t kLongest = std::numeric_limits<uint64_t>::max() / 2;
  const uint64_t milliseconds = static_cast<uint64_t>(seconds) > kLongest / 1000 ? kLongest
                                                                                 : static_cast<uint64_t>(seconds) * 1000;
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    DispatchWaitingMessages();
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    // INFINITE is a reserved value: a longer remainder is waited in pieces.
    const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1));
    // MWMO_INPUTAVAILABLE: a message that arrived before this call, but after
    // the queue was last emptied, also ends the wait.
    MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}
