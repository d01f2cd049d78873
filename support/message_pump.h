#pragma once
// Keeping the window responsive while an operation runs on the UI thread.

// Removes and dispatches every window message waiting for this thread.
void DispatchWaitingMessages();
