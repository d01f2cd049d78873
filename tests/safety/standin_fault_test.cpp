// The stand-ins' STANDIN_FAULT modes behave as tools/standins/README.md says:
// the run is logged, the command is not carried out, and the output and exit
// code are those of the mode.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>

#include "tests/safety/cli_sandbox.h"

namespace safety {

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;

struct FaultRow {
  const char* name;
  const char* tool;
  const char* arguments;  // a command that changes the state; "{vmx}" stands for a machine file
  const char* stateFile;
  const char* fault;
  unsigned long exitCode;
  const char* errorStart;  // what standard error begins with; nullptr: nothing on it
  bool junk;               // standard output holds junk (else nothing)
  bool carriedOut;
};

void PrintTo(const FaultRow& row, std::ostream* out) { *out << row.name; }

constexpr char kCreateVm[] = "createvm --name faulted --register";
constexpr char kStartVmx[] = "-T ws start \"{vmx}\" nogui";

const FaultRow kFaultRows[] = {
    // Without a fault the commands do change the state.
    {"VBoxManageUnfaulted", "VBoxManage.exe", kCreateVm, "vboxmanage-state.json", "", 0, nullptr, false, true},
    {"VmrunUnfaulted", "vmrun.exe", kStartVmx, "vmrun-state.json", "", 0, nullptr, false, true},
    // The tools' own error forms and failure codes.
    {"VBoxManageFail", "VBoxManage.exe", kCreateVm, "vboxmanage-state.json", "fail", 1,
     "VBoxManage.exe: error: ", false, false},
    {"VmrunFail", "vmrun.exe", kStartVmx, "vmrun-state.json", "fail", 255, "Error: ", false, false},
    // Junk and success.
    {"VBoxManageGarbage", "VBoxManage.exe", kCreateVm, "vboxmanage-state.json", "garbage", 0, nullptr, true, false},
    {"VmrunGarbage", "vmrun.exe", kStartVmx, "vmrun-state.json", "garbage", 0, nullptr, true, false},
    // Nothing at all and success.
    {"VBoxManageSilent", "VBoxManage.exe", kCreateVm, "vboxmanage-state.json", "silent", 0, nullptr, false, false},
    {"VmrunSilent", "vmrun.exe", kStartVmx, "vmrun-state.json", "silent", 0, nullptr, false, false},
    // A misspelt mode fails the run, naming the value.
    {"MisspeltMode", "VBoxManage.exe", kCreateVm, "vboxmanage-state.json", "Garbage", 1,
     "VBoxManage.exe: error: Unknown STANDIN_FAULT value 'Garbage'", false, false},
};

class StandinFaultTest : public ::testing::TestWithParam<FaultRow> {
 protected:
  void SetUp() override { testing_support::WriteFileBytes(Vmx(), "config.version = \"8\"\n"); }

  std::string Vmx() const { return sandbox_.RootFile("machine.vmx"); }

  std::string CommandLine(const FaultRow& row) const {
    std::string arguments = row.arguments;
    if (const size_t at = arguments.find("{vmx}"); at != std::string::npos) arguments.replace(at, 5, Vmx());
    return StandinTool(row.tool) + " " + arguments;
  }

  WatchedRun Run(const FaultRow& row) const {
    std::vector<std::string> environment = sandbox_.StandinEnvironment();
    environment.push_back(std::string("STANDIN_FAULT=") + row.fault);
    return RunWatched(CommandLine(row), "", environment);
  }

  CliSandbox sandbox_;
};

TEST_P(StandinFaultTest, DoesWhatTheModeSays) {
  const FaultRow& row = GetParam();
  const WatchedRun run = Run(row);
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exitCode, row.exitCode) << run.err;
  EXPECT_EQ(ReadFileBytes(sandbox_.StandinLog()), CommandLine(row) + "\n");
  EXPECT_EQ(FileExists(sandbox_.StandinFolder() + row.stateFile), row.carriedOut);
  if (row.carriedOut) return;
  if (row.errorStart) {
    EXPECT_TRUE(run.err.starts_with(row.errorStart)) << run.err;
    EXPECT_TRUE(run.err.ends_with("\r\n")) << run.err;
  } else {
    EXPECT_EQ(run.err, "");
  }
  if (!row.junk) {
    EXPECT_EQ(run.out, "");
    return;
  }
  const std::string& junk = run.out;
  ASSERT_GT(junk.size(), 6000u);
  EXPECT_EQ(junk[0], '"');
  EXPECT_NE(junk.find("\" {"), std::string::npos) << "no list-like first line";
  EXPECT_NE(junk.find('\0'), std::string::npos) << "no zero byte";
  EXPECT_NE(junk.back(), '\n');
  EXPECT_TRUE(std::none_of(junk.begin(), junk.end(), [](char c) { return isalnum(static_cast<unsigned char>(c)); }))
      << "a letter or digit in the junk";
  size_t longest = 0;
  for (size_t start = 0; start < junk.size();) {
    const size_t end = std::min(junk.find_first_of("\r\n", start), junk.size());
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  EXPECT_GE(longest, 6000u);
  // The same command line gives the same junk.
  EXPECT_EQ(Run(row).out, junk);
}

INSTANTIATE_TEST_SUITE_P(Modes, StandinFaultTest, ::testing::ValuesIn(kFaultRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

}  // namespace safety
