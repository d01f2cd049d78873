#pragma once
// The test program doubles as the tool the runner starts. Relaunched with
// --twk-child=<mode> it acts out that mode and exits before any test runs:
//   print:<count>         prints PrintedBytes(count), stopping early if the pipe closes
//   bursts                prints "first", pauses 300 ms, prints "second"
//   silent                prints nothing
//   crlf                  prints "one\r\ntwo\r\n"
//   stdout-stderr         prints "out;" on standard output, then "err;" on standard error
//   zero                  prints "abc", a zero byte, "def"
//   mark-and-fail:<path>  sleeps 1 s, creates the file <path> (to the end of the
//                         command line), exits with code 1

#include <cstddef>
#include <string>

namespace child_tool {

// The command line that relaunches this test program in the given mode.
std::string CommandLine(const std::string& mode);

// What print:<count> prints: letters a to z over and over, no line ends.
std::string PrintedBytes(size_t count);

}  // namespace child_tool
