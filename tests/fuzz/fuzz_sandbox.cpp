#include "tests/fuzz/fuzz_sandbox.h"

#include <windows.h>

#include "support/registry.h"

namespace {

constexpr const char* kStandins[] = {"vmrun.exe", "VBoxManage.exe", "vmware.exe"};
constexpr const char* kVirtualBoxMachines[] = {"master", "win10", "vm-old"};

void Copy(const std::string& from, const std::string& to) {
  ASSERT_TRUE(CopyFileA(from.c_str(), to.c_str(), FALSE)) << from << " -> " << to;
}

}  // namespace

void FuzzSandboxTest::SetUp() {
  Copy(testing_support::TestProgramPath(), Path("fuzz_tests.exe"));
  CreateDirectoryA(Path("standins").c_str(), nullptr);
  for (const char* tool : kStandins) Copy(testing_support::ProductBinFolder() + "standins\\" + tool, Path("standins\\") + tool);
  CreateDirectoryA(Path("standin-state").c_str(), nullptr);
  CreateDirectoryA(Path("master").c_str(), nullptr);
  testing_support::WriteFileBytes(Path("master\\master.vmx"), "config.version = \"8\"\n");
  for (const char* machine : kVirtualBoxMachines) {
    const auto made = testing_support::RunChild(
        "\"" + Path("standins\\VBoxManage.exe") + "\" createvm --name " + machine + " --register", "",
        {"STANDIN_STATE=" + Path("standin-state")});
    ASSERT_EQ(made.exitCode, 0u) << machine << ": " << made.err;
  }
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kVmwareInstallLocation.subKey, kVmwareInstallLocation.valueName);
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kVirtualBoxInstallLocation.subKey, kVirtualBoxInstallLocation.valueName);
}

testing_support::ChildResult FuzzSandboxTest::RunChild(const std::string& arguments) const {
  return testing_support::RunChild("\"" + Path("fuzz_tests.exe") + "\" " + arguments, "",
                                   {"STANDIN_STATE=" + Path("standin-state"), "STANDIN_LOG=" + Path("standin.log"),
                                    "STANDIN_DELAY_MS=0"},
                                   folder_.path());
}
