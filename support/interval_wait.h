#pragma once
// Waiting on the UI thread without freezing the window.

#include <cstdint>

// Returns after `seconds` (nothing when 0 or less), dispatching every window
// message of this thread as it arrives meanwhile. The thread sleeps between
// messages: a long wait costs next to no processor time.
void WaitHandlingMessages(int64_t seconds);
