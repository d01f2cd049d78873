// "getversions" and "openUrl" through tarnwick-cli.exe.

#include <windows.h>

#include "tests/cli/cli_fixture.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

const char kVersionRequest[] = R"({"func":"getversions","tag":2,"data":{
  "StartIntervalTime":10,"NamePrefix":"clone","CloneNumber":3,"CloneType":"linked","CloneTypy":"link",
  "StoragePath":"","MasterPath":"","MasterName":"","BootTask":""}})";

void ExpectVersionReply(const nlohmann::ordered_json& reply) {
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], "Get the Version");
  EXPECT_EQ(reply["data"]["VersionNumber"], "1.0.1 Standard");
}

TEST_F(CliTest, GetVersionsCreatesSettingsOnlyForAnInstalledHypervisor) {
  ExpectVersionReply(Reply(kVersionRequest));
  EXPECT_FALSE(FileExists(ProgramFile("VMwarePrefs.json"))) << "nothing installed, nothing written";
  EXPECT_FALSE(FileExists(ProgramFile("VBoxPrefs.json")));

  ScopedRegistryValue vmware(kVmwareInstallLocation, "C:\\VMware\\");
  ScopedRegistryValue vbox(kVirtualBoxInstallLocation, "C:\\VBox\\");
  ExpectVersionReply(Reply(kVersionRequest));
  const auto vmwareSettings = nlohmann::ordered_json::parse(ReadFileBytes(ProgramFile("VMwarePrefs.json")));
  EXPECT_EQ(vmwareSettings["Prefs"][0]["InstallationPath"], "\"C:\\VMware\\vmrun.exe\"");
  EXPECT_EQ(vmwareSettings["Prefs"][0]["NamePrefix"], "clone");
  const auto vboxSettings = nlohmann::ordered_json::parse(ReadFileBytes(ProgramFile("VBoxPrefs.json")));
  EXPECT_EQ(vboxSettings["Prefs"][0]["InstallationPath"], "\"C:\\VBox\\VBoxManage.exe\"");
  EXPECT_EQ(vboxSettings["Prefs"][0]["CloneTypy"], "link");
}

TEST_F(CliTest, GetVersionsNeverChangesExistingSettings) {
  ScopedRegistryValue vmware(kVmwareInstallLocation, "C:\\VMware\\");
  ScopedRegistryValue vbox(kVirtualBoxInstallLocation, "C:\\VBox\\");
  WriteFileBytes(ProgramFile("VMwarePrefs.json"), "{\"Prefs\": [{\"NamePrefix\": \"mine\"}]}");
  WriteFileBytes(ProgramFile("VBoxPrefs.json"), "not even JSON");
  ExpectVersionReply(Reply(kVersionRequest));
  EXPECT_EQ(ReadFileBytes(ProgramFile("VMwarePrefs.json")), "{\"Prefs\": [{\"NamePrefix\": \"mine\"}]}");
  EXPECT_EQ(ReadFileBytes(ProgramFile("VBoxPrefs.json")), "not even JSON");
}

TEST_F(CliTest, OpenUrlAlwaysAnswersMinusOne) {
  const auto reply = Reply(R"({"func":"openUrl","tag":3,"data":{"url":"Z:\\no\\such\\file.txt"}})");
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], "");
  EXPECT_TRUE(reply["data"].is_null());
}

TEST_F(CliTest, CloseWithoutTrayEndsTheProgramWithoutAReply) {
  const auto result = Run(R"({"func":"close","tag":4,"data":{"tray":false}})");
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(result.out, "");
}

}  // namespace
