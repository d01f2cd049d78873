// Page requests through the dispatcher and replies back to the page's callbacks.

#include "tests/app/app_fixture.h"

namespace {

const char kSaveSettings[] =
    R"({"func":"Vm_Clone_Settings","tag":3,"data":{"InstallationPath":"C:\\vm\\vmrun.exe","MasterPath":"D:\\m\\m.vmx",)"
    R"("StoragePath":"D:\\c\\","CloneType":"linked","CloneNumber":3,"NamePrefix":"PREFIX","StartIntervalTime":5}})";

std::string SaveSettingsRequest(const std::string& prefix, int tag) {
  std::string request = kSaveSettings;
  request.replace(request.find("PREFIX"), 6, prefix);
  request.replace(request.find("\"tag\":3"), 7, "\"tag\":" + std::to_string(tag));
  return request;
}

using BridgeTest = PageRequestTest;

TEST_F(BridgeTest, ARequestReachesTheDispatcherAndItsReplyTheCallback) {
  Ask(SaveSettingsRequest("web", 3));
  const auto saved = Replies(1);
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0]["code"], 200);
  EXPECT_EQ(saved[0]["msg"], "success");
  EXPECT_EQ(saved[0]["func"], "Vm_Clone_Settings");
  EXPECT_EQ(saved[0]["tag"], 3);
  // The launch time is taken at start-up.
  EXPECT_GE(saved[0]["data"]["launch_time"].get<int64_t>(), launchedAfter_);
  EXPECT_LE(saved[0]["data"]["launch_time"].get<int64_t>(), time(nullptr));
  // The settings file lands beside the program, and the dispatcher logged the request.
  EXPECT_TRUE(testing_support::FileExists(ProgramFile("VMwarePrefs.json")));
  EXPECT_NE(Output().find(SaveSettingsRequest("web", 3)), std::string::npos) << Output();

  Ask(R"({"func":"resultjson","tag":4})");
  const auto loaded = Replies(2);
  ASSERT_EQ(loaded.size(), 2u);
  EXPECT_EQ(loaded[1]["code"], 200);
  EXPECT_EQ(loaded[1]["tag"], 4);
  EXPECT_NE(loaded[1]["data"]["resultjson"].get<std::string>().find("\"NamePrefix\":\"web\""), std::string::npos);
}

TEST_F(BridgeTest, ACallWithoutCallbackRunsButGetsNoReply) {
  Tell(SaveSettingsRequest("quiet", 8));
  Ask(R"({"func":"resultjson","tag":9})");
  const auto replies = Replies(1);
  ASSERT_EQ(replies.size(), 1u);
  // Requests run in order: the silent one has saved its settings.
  EXPECT_EQ(replies[0]["tag"], 9);
  EXPECT_NE(replies[0]["data"]["resultjson"].get<std::string>().find("\"NamePrefix\":\"quiet\""), std::string::npos);
  EXPECT_NE(Output().find(SaveSettingsRequest("quiet", 8)), std::string::npos) << Output();

  // One more round trip: still only the replies that were asked for.
  Ask(R"({"func":"nope","tag":10})");
  const auto later = Replies(2);
  ASSERT_EQ(later.size(), 2u);
  EXPECT_EQ(later[1]["tag"], 10);
  EXPECT_EQ(later[1]["code"], -1);
}

}  // namespace
