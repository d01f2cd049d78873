#pragma once
// Runs tarnwick-cli.exe from a temporary program folder of its own, so that
// the settings and list files it writes land there.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/registry.h"
#include "tests/common/test_support.h"

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // The raw run: exit code, reply bytes on standard output, diagnostics on standard error.
  testing_support::ChildResult Run(const std::string& request, const std::string& arguments = "") const;

  // Runs a request and parses its reply (which must be there).
  nlohmann::ordered_json Reply(const std::string& request) const;

  std::string ProgramFile(const std::string& name) const { return folder_ / name; }

  // From here on the runs see the stand-in hypervisor tools: their state in a
  // folder of this test and their command lines logged to StandinLog().
  void UseStandins();
  std::string StandinLog() const { return testing_support::ReadFileBytes(ProgramFile("standin.log")); }
  static std::string StandinTool(const std::string& fileName);  // quoted, as settings store it

  testing_support::TempFolder folder_;
  std::vector<std::string> environment_;
};

// Sets a registry value under HKEY_LOCAL_MACHINE for the life of the object
// and removes it afterwards.
class ScopedRegistryValue {
 public:
  ScopedRegistryValue(const RegistryLocation& location, const std::string& value);
  ~ScopedRegistryValue();
  ScopedRegistryValue(const ScopedRegistryValue&) = delete;
  ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

  // Makes sure no value is there (tests begin from a machine without the product).
  static void Remove(const RegistryLocation& location);

 private:
  RegistryLocation location_;
};
