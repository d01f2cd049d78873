#pragma once
// STANDIN_FAULT: a tool that misbehaves on purpose, so tests can watch what
// Tarnwick makes of a failing or confused hypervisor. A faulted run is logged
// (STANDIN_LOG) and lasts STANDIN_DELAY_MS like any other, but the command is
// not carried out and the state is not touched:
//   fail     the tool's error form on standard error, its failure exit code
//   garbage  binary junk on standard output, exit code 0 (see GarbageBytes)
//   silent   nothing at all, exit code 0
// Unset or empty: no fault. Any other value fails the run with a message that
// names the value, so a misspelt mode does not pass unnoticed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/standins/common/standin_runner.h"

namespace standins {

// Prints what the asked-for fault prints and returns the run's exit code;
// nothing when no fault is asked for.
std::optional<int> ActOutFault(const StandinIdentity& identity);

// Junk that no reader of the real tools' output can take for an answer: a
// first line shaped like a line of `list vms` (a name of junk in double
// quotes, then junk in braces), a line of several thousand bytes, zero bytes
// further on, and no final line end. Besides those it holds only bytes from 0x80 up, blanks, control
// characters and punctuation: never a letter or a digit, so never a key, a
// path or a UUID. The same seed gives the same bytes.
std::string GarbageBytes(uint64_t seed);

// The seed a run uses: a hash of its raw command line, so that one command
// always prints the same junk.
uint64_t GarbageSeed(std::string_view commandLine);

}  // namespace standins
