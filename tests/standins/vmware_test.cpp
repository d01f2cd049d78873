#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "tests/common/test_support.h"

namespace {

// The process of a started program, ended and closed when the object goes.
class RunningProgram {
 public:
  RunningProgram(std::string commandLine, const std::string& extraVariable) {
    std::string environment;
    char* current = GetEnvironmentStringsA();
    for (const char* entry = current; *entry; entry += strlen(entry) + 1) environment.append(entry).push_back('\0');
    FreeEnvironmentStringsA(current);
    environment.append(extraVariable).push_back('\0');
    environment.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(), nullptr,
                              &startup, &process_);
  }
  ~RunningProgram() {
    if (!started_) return;
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, INFINITE);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return started_; }
  bool running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

TEST(VmwareStandin, RunsUntilItIsEnded) {
  testing_support::TempFolder folder;
  const std::string log = folder / "commands.log";
  const std::string program = testing_support::ProductBinFolder() + "standins\\vmware.exe";
  const std::string commandLine = "\"" + program + "\"";

  RunningProgram vmware(commandLine, "STANDIN_LOG=" + log);
  ASSERT_TRUE(vmware.started());
  // Once it has logged its start it is past anything that could end it early.
  for (int waited = 0; waited < 600 && testing_support::ReadFileBytes(log).empty(); ++waited) Sleep(100);

  EXPECT_EQ(testing_support::ReadFileBytes(log), commandLine + "\n");
  EXPECT_TRUE(vmware.running());
}

}  // namespace
