#include "tests/fuzz/child_mode.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

// The number after `name` in the command line, when it is there.
bool NumberAfter(const std::string& commandLine, const char* name, uint64_t& number) {
  const size_t at = commandLine.find(name);
  if (at == std::string::npos) return false;
  number = std::strtoull(commandLine.c_str() + at + std::strlen(name), nullptr, 10);
  return true;
}

int RunChild(const std::string& commandLine, const std::string& job) {
  if (job.starts_with("requests")) return RunRequestFuzz(FuzzRunFromCommandLine(commandLine, FuzzRun{}));
  if (job.starts_with("files")) return RunDamagedFileCase(FileCaseFromCommandLine(commandLine));
  return 99;  // an unknown job: a typo in a test
}

// Runs before main, so a relaunched copy never reaches GoogleTest.
[[maybe_unused]] const bool childModeChecked = [] {
  const std::string commandLine = GetCommandLineA();
  const size_t flag = commandLine.find(kChildFlag);
  if (flag == std::string::npos) return false;
  ExitProcess(RunChild(commandLine, commandLine.substr(flag + std::strlen(kChildFlag))));
}();

}  // namespace

FuzzRun FuzzRunFromCommandLine(const std::string& commandLine, FuzzRun defaults) {
  NumberAfter(commandLine, "--fuzz-seed=", defaults.seed);
  NumberAfter(commandLine, "--fuzz-first=", defaults.first);
  NumberAfter(commandLine, "--fuzz-count=", defaults.count);
  return defaults;
}

std::string FuzzRunArguments(const FuzzRun& run) {
  return "--fuzz-seed=" + std::to_string(run.seed) + " --fuzz-first=" + std::to_string(run.first) +
         " --fuzz-count=" + std::to_string(run.count);
}

int FileCaseFromCommandLine(const std::string& commandLine) {
  uint64_t number = 0;
  return NumberAfter(commandLine, "--file=", number) ? static_cast<int>(number) : -1;
}
