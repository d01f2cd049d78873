// "VboxPreferences" and "ResultVBoxPrefs": VBoxPrefs.json through the page's commands.

#include <windows.h>

#include "tests/cli/cli_fixture.h"

namespace {

using testing_support::ReadFileBytes;

const char kChineseName[] = "\xE5\x85\x8B\xE9\x9A\x86";  // 克隆

std::string SaveRequest(const std::string& masterName) {
  nlohmann::ordered_json request = {{"func", "VboxPreferences"}, {"tag", 5}};
  request["data"] = {{"InstallationPath", "\"C:\\VBox\\VBoxManage.exe\""},
                     {"MasterName", masterName},
                     {"StoragePath", "D:\\vb\\"},
                     {"CloneTypy", "link"},
                     {"CloneNumber", 2},
                     {"NamePrefix", "vm"},
                     {"StartIntervalTime", 4}};
  return request.dump();
}

const char kLoadRequest[] = R"({"func":"ResultVBoxPrefs","tag":6})";

TEST_F(CliTest, VboxSettingsRoundTripInTheFileFormat) {
  EXPECT_EQ(Reply(SaveRequest("master"))["code"], 200);
  EXPECT_EQ(ReadFileBytes(ProgramFile("VBoxPrefs.json")),
            "{\r\n"
            "    \"Prefs\": [\r\n"
            "        {\r\n"
            "            \"InstallationPath\": \"\\\"C:\\\\VBox\\\\VBoxManage.exe\\\"\",\r\n"
            "            \"MasterName\": \"master\",\r\n"
            "            \"StoragePath\": \"D:\\\\vb\\\\\",\r\n"
            "            \"CloneTypy\": \"link\",\r\n"
            "            \"CloneNumber\": 2,\r\n"
            "            \"NamePrefix\": \"vm\",\r\n"
            "            \"StartIntervalTime\": 4\r\n"
            "        }\r\n"
            "    ]\r\n"
            "}");
  const auto reply = Reply(kLoadRequest);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], "success");
  EXPECT_EQ(reply["data"]["RsultBoxPrefs"],
            R"({"Prefs":[{"InstallationPath":"\"C:\\VBox\\VBoxManage.exe\"","MasterName":"master",)"
            R"("StoragePath":"D:\\vb\\","CloneTypy":"link","CloneNumber":2,"NamePrefix":"vm","StartIntervalTime":4}]})");
}

TEST_F(CliTest, VboxSettingsAreMissingUntilSaved) {
  const auto reply = Reply(kLoadRequest);
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], "no file with VBoxPrefs.json!");
  EXPECT_EQ(reply["data"]["RsultBoxPrefs"], "-1");
}

TEST_F(CliTest, TheInstalledVirtualBoxNamesTheTool) {
  ScopedRegistryValue installed(kVirtualBoxInstallLocation, "C:\\Program Files\\Oracle\\VirtualBox\\");
  EXPECT_EQ(Reply(SaveRequest("master"))["data"]["state"], true);
  const auto settings = nlohmann::ordered_json::parse(Reply(kLoadRequest)["data"]["RsultBoxPrefs"].get<std::string>());
  EXPECT_EQ(settings["Prefs"][0]["InstallationPath"], "\"C:\\Program Files\\Oracle\\VirtualBox\\VBoxManage.exe\"");
}

TEST_F(CliTest, NamesKeepOnlyWhatTheAnsiCodePageHolds) {
  Reply(SaveRequest(kChineseName));
  const auto settings = nlohmann::ordered_json::parse(Reply(kLoadRequest)["data"]["RsultBoxPrefs"].get<std::string>());
  const std::string expected = GetACP() == 936 ? kChineseName : "??";
  EXPECT_EQ(settings["Prefs"][0]["MasterName"], expected);
}

}  // namespace
