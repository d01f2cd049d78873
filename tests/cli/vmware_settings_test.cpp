// "Vm_Clone_Settings" and "resultjson": VMwarePrefs.json through the page's commands.

#include <windows.h>

#include "tests/cli/cli_fixture.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

const char kSaveRequest[] = R"({"func":"Vm_Clone_Settings","tag":3,"data":{
  "StartIntervalTime":5,"NamePrefix":"web","CloneNumber":3,"CloneType":"linked","BootTask":"task",
  "StoragePath":"D:\\c\\","MasterPath":"D:\\m\\m.vmx","InstallationPath":"\"C:\\VMware\\vmrun.exe\""}})";

// The settings file of kSaveRequest, byte for byte.
const char kSavedFile[] =
    "{\r\n"
    "    \"Prefs\": [\r\n"
    "        {\r\n"
    "            \"InstallationPath\": \"\\\"C:\\\\VMware\\\\vmrun.exe\\\"\",\r\n"
    "            \"MasterPath\": \"D:\\\\m\\\\m.vmx\",\r\n"
    "            \"StoragePath\": \"D:\\\\c\\\\\",\r\n"
    "            \"BootTask\": \"task\",\r\n"
    "            \"CloneTypy\": \"linked\",\r\n"
    "            \"CloneNumber\": 3,\r\n"
    "            \"NamePrefix\": \"web\",\r\n"
    "            \"StartIntervalTime\": 5\r\n"
    "        }\r\n"
    "    ]\r\n"
    "}";

const char kLoadRequest[] = R"({"func":"resultjson","tag":4})";

TEST_F(CliTest, SavesTheSettingsFileAndAnswersWithTheLaunchTime) {
  const auto reply = Reply(kSaveRequest);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], "success");
  EXPECT_EQ(reply["func"], "Vm_Clone_Settings");
  EXPECT_EQ(reply["tag"], 3);
  ASSERT_TRUE(reply["data"]["launch_time"].is_number_integer());
  EXPECT_GT(reply["data"]["launch_time"].get<int64_t>(), 1700000000);
  EXPECT_EQ(ReadFileBytes(ProgramFile("VMwarePrefs.json")), kSavedFile);
}

TEST_F(CliTest, ResultJsonReturnsTheSavedSettingsAsCompactText) {
  auto before = Reply(kLoadRequest);
  EXPECT_EQ(before["code"], -1);
  EXPECT_EQ(before["msg"],
            "There is no configuration file, or the corresponding file and directory do not exist!");
  EXPECT_EQ(before["data"]["resultjson"], "false");

  Reply(kSaveRequest);
  auto after = Reply(kLoadRequest);
  EXPECT_EQ(after["code"], 200);
  EXPECT_EQ(after["msg"], "success");
  EXPECT_EQ(after["data"]["resultjson"],
            R"({"Prefs":[{"InstallationPath":"\"C:\\VMware\\vmrun.exe\"","MasterPath":"D:\\m\\m.vmx",)"
            R"("StoragePath":"D:\\c\\","BootTask":"task","CloneTypy":"linked","CloneNumber":3,)"
            R"("NamePrefix":"web","StartIntervalTime":5}]})");
}

TEST_F(CliTest, TheInstalledWorkstationNamesTheTool) {
  ScopedRegistryValue installed(kVmwareInstallLocation, "C:\\Program Files (x86)\\VMware\\VMware Workstation\\");
  EXPECT_EQ(Reply(kSaveRequest)["code"], 200);
  const auto settings = nlohmann::ordered_json::parse(Reply(kLoadRequest)["data"]["resultjson"].get<std::string>());
  EXPECT_EQ(settings["Prefs"][0]["InstallationPath"],
            "\"C:\\Program Files (x86)\\VMware\\VMware Workstation\\vmrun.exe\"");
}

TEST_F(CliTest, ARequestWithoutDataSavesEmptySettings) {
  const auto reply = Reply(R"({"func":"Vm_Clone_Settings","tag":1})");
  EXPECT_EQ(reply["code"], 200);
  const auto settings = nlohmann::ordered_json::parse(Reply(kLoadRequest)["data"]["resultjson"].get<std::string>());
  EXPECT_EQ(settings.dump(),
            R"({"Prefs":[{"InstallationPath":"","MasterPath":"","StoragePath":"","BootTask":"","CloneTypy":"",)"
            R"("CloneNumber":0,"NamePrefix":"","StartIntervalTime":0}]})");
}

TEST_F(CliTest, SavingAgainReplacesTheSettings) {
  Reply(kSaveRequest);
  Reply(R"({"func":"Vm_Clone_Settings","tag":1,"data":{"NamePrefix":"\u514b\u9686","CloneNumber":"7"}})");
  const auto settings = nlohmann::ordered_json::parse(Reply(kLoadRequest)["data"]["resultjson"].get<std::string>());
  ASSERT_EQ(settings["Prefs"].size(), 1u);
  EXPECT_EQ(settings["Prefs"][0]["NamePrefix"], "\xE5\x85\x8B\xE9\x9A\x86");  // stored as UTF-8 on any code page
  EXPECT_EQ(settings["Prefs"][0]["CloneNumber"], 7);
  EXPECT_EQ(settings["Prefs"][0]["StoragePath"], "");
}

TEST_F(CliTest, AFailedSaveAnswersFailedAndKeepsNothingHalfWritten) {
  // The settings file's name is taken by a folder: the save cannot land.
  ASSERT_TRUE(CreateDirectoryA(ProgramFile("VMwarePrefs.json").c_str(), nullptr));
  const auto reply = Reply(kSaveRequest);
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], "failed");
  EXPECT_TRUE(reply["data"]["launch_time"].is_number_integer());
}

TEST_F(CliTest, AnUnreadableSettingsFileCountsAsNone) {
  WriteFileBytes(ProgramFile("VMwarePrefs.json"), "{\"Prefs\": [ {\"CloneNumber\": 1.5} ]}");
  const auto reply = Reply(kLoadRequest);
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["data"]["resultjson"], "false");
  EXPECT_TRUE(FileExists(ProgramFile("VMwarePrefs.json"))) << "reading never removes the file";
}

}  // namespace
