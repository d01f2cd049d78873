#pragma once
// The child modes' entry points; each returns the process exit code.

namespace safety {

// Saves the two settings files over and over, alternating two settings, and
// writes one byte to standard output once the first pair is saved. Never
// returns by itself: the parent ends it.
int SaveLoopChild();

// Runs the request read from standard input on this thread, with a window of
// the thread that messages are sent to while the command runs; reports on
// standard output what the window received (see slow_tool_test.cpp).
int PumpChild();

}  // namespace safety
