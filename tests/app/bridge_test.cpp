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

class BridgeTest : public TarnwickTest {
 protected:
  void SetUp() override {
    TarnwickTest::SetUp();
    if (HasFatalFailure()) return;
    launchedAfter_ = time(nullptr);
    ASSERT_TRUE(StartWithPage()) << Output();
    ASSERT_TRUE(WaitUntil([&] { return page_.Evaluate("typeof window.ask") == "function"; }, 30000));
  }

  void Ask(const std::string& request) { ASSERT_TRUE(page_.Evaluate("ask(" + request + "), true")); }
  void Tell(const std::string& request) { ASSERT_TRUE(page_.Evaluate("tell(" + request + "), true")); }

  // The replies the page's callbacks got, parsed, once there are `count`.
  std::vector<nlohmann::json> Replies(size_t count) {
    std::vector<nlohmann::json> replies;
    WaitUntil(
        [&] {
          const auto texts = page_.Evaluate("window.replies");
          if (!texts || !texts->is_array() || texts->size() < count) return false;
          replies.clear();
          for (const auto& text : *texts) replies.push_back(nlohmann::json::parse(text.get<std::string>(), nullptr, false));
          return true;
        },
        30000);
    return replies;
  }

  time_t launchedAfter_ = 0;
};

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
