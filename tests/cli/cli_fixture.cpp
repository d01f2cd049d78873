#include "tests/cli/cli_fixture.h"

using testing_support::ChildResult;

void CliTest::SetUp() {
  const std::string source = testing_support::ProductBinFolder() + "tarnwick-cli.exe";
  ASSERT_TRUE(CopyFileA(source.c_str(), ProgramFile("tarnwick-cli.exe").c_str(), FALSE)) << source;
  ScopedRegistryValue::Remove(kVmwareInstallLocation);
  ScopedRegistryValue::Remove(kVirtualBoxInstallLocation);
}

ChildResult CliTest::Run(const std::string& request, const std::string& arguments) const {
  std::string line = "\"" + ProgramFile("tarnwick-cli.exe") + "\"";
  if (!arguments.empty()) line += " " + arguments;
  return testing_support::RunChild(line, request, environment_);
}

void CliTest::UseStandins() {
  CreateDirectoryA(ProgramFile("standin-state").c_str(), nullptr);
  environment_ = {"STANDIN_LOG=" + ProgramFile("standin.log"), "STANDIN_STATE=" + ProgramFile("standin-state")};
}

std::string CliTest::StandinTool(const std::string& fileName) {
  return "\"" + testing_support::ProductBinFolder() + "standins\\" + fileName + "\"";
}

nlohmann::ordered_json CliTest::Reply(const std::string& request) const {
  const ChildResult result = Run(request);
  EXPECT_TRUE(result.started) << "start error " << result.startError;
  EXPECT_EQ(result.exitCode, 0u);
  const auto reply = nlohmann::ordered_json::parse(result.out, nullptr, false);
  EXPECT_FALSE(reply.is_discarded()) << result.out;
  return reply;
}

ScopedRegistryValue::ScopedRegistryValue(const RegistryLocation& location, const std::string& value)
    : location_(location) {
  const LSTATUS status = RegSetKeyValueA(HKEY_LOCAL_MACHINE, location.subKey, location.valueName, REG_SZ,
                                         value.c_str(), static_cast<DWORD>(value.size() + 1));
  EXPECT_EQ(status, ERROR_SUCCESS) << location.subKey;
}

ScopedRegistryValue::~ScopedRegistryValue() { Remove(location_); }

void ScopedRegistryValue::Remove(const RegistryLocation& location) {
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, location.subKey, location.valueName);
}
