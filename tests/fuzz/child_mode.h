#pragma once
// The test program relaunched inside its sandbox as the child that runs the
// requests in-process (the parent only prepares the folder and judges the
// child's exit code and report).

#include <cstdint>
#include <string>

// "<flag>requests" or "<flag>files"; before main, so the child never reaches GoogleTest.
inline constexpr char kChildFlag[] = "--twk-fuzz-child=";

// Which requests a fuzz run sends: request i is made from (seed, i) alone.
struct FuzzRun {
  uint64_t seed = 0;
  uint64_t first = 0;
  uint64_t count = 10000;
};

// --fuzz-seed=, --fuzz-first=, --fuzz-count= of a command line; what is not
// there keeps its value from `defaults`.
FuzzRun FuzzRunFromCommandLine(const std::string& commandLine, FuzzRun defaults);
std::string FuzzRunArguments(const FuzzRun& run);

// --file=<n> of a command line: the damaged-file case to run; -1 when absent.
int FileCaseFromCommandLine(const std::string& commandLine);

// The child's two jobs; they return its exit code.
int RunRequestFuzz(const FuzzRun& run);
int RunDamagedFileCase(int fileCase);
