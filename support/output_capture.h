#pragma once
// Running a tool whose whole answer is wanted, from the UI thread.

#include <optional>
#include <string>

struct CapturedOutput {
  bool started = false;  // false: the tool could not be started, text is empty
  std::string text;      // everything it printed on standard output, bytes unchanged
};

// Starts the command line (ANSI code page, passed to CreateProcessA unchanged)
// hidden, with standard output on a pipe and no standard input or error, and
// reads until the tool has ended and all it printed is read, however long.
// Window messages of this thread are dispatched while it waits. nullopt when
// the pipe could not be made.
std::optional<CapturedOutput> CaptureWholeOutput(const std::string& commandLine);
