#pragma once
// Runs the hypervisors' command-line tools (vmrun.exe, VBoxManage.exe) as
// hidden child processes, one at a time, from the UI thread.
//
// Command lines are bytes in the system ANSI code page and reach
// CreateProcessA exactly as given: nothing here quotes, splits or escapes, so
// the caller builds a line the tool's own parser will read correctly. The child
// gets this process's environment and current directory.

#include <string>

// Starts the command line hidden and waits for it to end. True when it could
// be started; the exit code is not looked at.
bool RunAndWait(std::string commandLine);

// Starts the command line hidden, with standard output and standard error on
// one pipe and no standard input handle, and reads until the tool closes its
// output or 4095 bytes have arrived; it does not otherwise wait for the tool
// to end. Returns what was read, up to its first zero byte, bytes unchanged
// (in whatever code page the tool writes).
//
// The same text plus a newline is also written to copyFileName (ANSI code
// page, relative to the current directory) in text mode, so each LF becomes
// CR LF there (CR LF in the output becomes CR CR LF). The copy is not written
// when the tool started but printed nothing; when the tool could not be
// started it holds just the newline. A copy file that cannot be opened is
// skipped without notice.
std::string RunCaptured(const std::string& commandLine, const std::string& copyFileName);
