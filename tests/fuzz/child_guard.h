#pragma once
// Names the case that was running when the child process crashed, aborted or
// hung, on standard output where the parent looks, and ends the process.
//
// A hang is a case still running after kHangSeconds: far beyond anything a
// case may legitimately take (the fuzz keeps clone counts and waits small),
// so it only fires on a real hang. It is no measure of speed.

#include <string>

#include "support/win_handle.h"

inline constexpr unsigned kHangSeconds = 180;

// Exit codes of the child besides 0 (no fault) and 1 (faults reported).
inline constexpr unsigned kExitSetupFailed = 2;
inline constexpr unsigned kExitHang = 3;
inline constexpr unsigned kExitAbort = 5;

class CaseGuard {
 public:
  CaseGuard();
  ~CaseGuard();
  CaseGuard(const CaseGuard&) = delete;
  CaseGuard& operator=(const CaseGuard&) = delete;

  // The case about to run, as the report will name it.
  void Begin(const std::string& description);
  void End();

 private:
  WinHandle stop_;
  WinHandle watcher_;
};

// Writes a line to standard output at once (the parent reads it even when the
// process dies right after).
void Report(const std::string& line);

// The bytes readably: printable ASCII as it is, everything else as \xNN, cut
// after `limit` bytes with the full length noted.
std::string Excerpt(const std::string& bytes, size_t limit = 300);
