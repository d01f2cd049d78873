// js_api_cross_call from page to browser side and back, through the real
// browser and the application's WebApp.

#include <gtest/gtest.h>

#include "bridge/script_messages.h"
#include "tests/engine/engine_fixture.h"

namespace {

class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(EngineSession::Ready()) << "no browser could be started";
    browser_ = EngineSession::Open(
        "<!doctype html><body><script>window.got = [];</script>"
        "<iframe srcdoc=\"<script>window.callFromFrame = () => js_api_cross_call('from-frame');</script>\">"
        "</iframe></body>",
        client_);
    ASSERT_TRUE(browser_);
  }
  void TearDown() override {
    if (browser_) browser_->GetHost()->CloseBrowser(true);
  }

  void Page(const std::string& script) { browser_->GetMainFrame()->ExecuteJavaScript(script, "", 0); }

  // Runs the script, then a marker call, and returns what arrived before the
  // marker. The marker goes as an "EvalJS" message, so it also comes after
  // any message sent to the page before.
  std::vector<ReceivedMessage> Calls(const std::string& script) {
    client_->messages.clear();
    if (!script.empty()) Page(script);
    SendEval("js_api_cross_call('marker')");
    EXPECT_TRUE(RunUntil([&] {
      return !client_->messages.empty() && client_->messages.back().entries == std::vector<std::string>{"i:0", "s:marker"};
    }));
    std::vector<ReceivedMessage> before = client_->messages;
    if (!before.empty()) before.pop_back();
    return before;
  }

  void SendEval(const std::string& script, bool extraEntry = false) {
    CefRefPtr<CefProcessMessage> eval = CefProcessMessage::Create(ScriptMessage::kEvalScript);
    eval->GetArgumentList()->SetString(0, script);
    if (extraEntry) eval->GetArgumentList()->SetString(1, "extra");
    browser_->GetMainFrame()->SendProcessMessage(PID_RENDERER, eval);
  }

  void Reply(int id, const std::string& text, int extraEntries = 0) {
    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(ScriptMessage::kReply);
    message->GetArgumentList()->SetInt(0, id);
    message->GetArgumentList()->SetString(1, text);
    for (int i = 0; i < extraEntries; ++i) message->GetArgumentList()->SetNull(2 + i);
    browser_->GetMainFrame()->SendProcessMessage(PID_RENDERER, message);
  }

  CefRefPtr<RecordingClient> client_;
  CefRefPtr<CefBrowser> browser_;
};

struct CallCase {
  const char* call;                  // page script
  std::vector<std::string> entries;  // of the message the browser side gets; empty: no message
};

TEST_F(BridgeTest, PageCallsBecomeMessages) {
  // In order: the first call with a callback in the process gets id 2.
  const CallCase cases[] = {
      {"js_api_cross_call()", {}},                                                   // nothing to send
      {"js_api_cross_call(function () {})", {"i:2"}},                                // a callback alone
      {"js_api_cross_call('{\"func\":\"nope\"}', () => {})", {"i:3", "s:{\"func\":\"nope\"}"}},  // the usual form
      {"js_api_cross_call('x', () => {}, 5)", {"i:0", "s:x", "null", "d:5"}},        // function not last: no callback
      {"js_api_cross_call({a: 1}, [1, 2])", {"i:0", "null", "null"}},                // objects and arrays
      {"js_api_cross_call(true, false)", {"i:0", "b:true", "b:false"}},              // booleans
      {"js_api_cross_call(4294967295, -1.5)", {"i:0", "d:4294967295", "d:-1.5"}},   // every number is a double
      {"js_api_cross_call(null, undefined, '\u4e2d')", {"i:0", "null", "null", "s:\xE4\xB8\xAD"}},  // the rest
  };
  for (const CallCase& c : cases) {
    const auto received = Calls(c.call);
    if (c.entries.empty()) {
      EXPECT_TRUE(received.empty()) << c.call;
      continue;
    }
    ASSERT_EQ(received.size(), 1u) << c.call;
    EXPECT_EQ(received[0].name, "js_api_cross_call");
    EXPECT_EQ(received[0].entries, c.entries) << c.call;
  }
}

TEST_F(BridgeTest, ARepliesReachesItsCallbackOnce) {
  auto sent = Calls("js_api_cross_call('q', (text) => js_api_cross_call('got:' + text))");
  ASSERT_EQ(sent.size(), 1u);
  const int id = std::stoi(sent[0].entries[0].substr(2));

  Reply(id, "answer \xE4\xB8\xAD");
  auto answered = Calls("");
  ASSERT_EQ(answered.size(), 1u);
  EXPECT_EQ(answered[0].entries, (std::vector<std::string>{"i:0", "s:got:answer \xE4\xB8\xAD"}));

  Reply(id, "again");  // answered already: nothing happens
  EXPECT_TRUE(Calls("").empty());
}

TEST_F(BridgeTest, AThrowingCallbackLeavesLaterRepliesAlone) {
  auto first = Calls("js_api_cross_call('a', () => { throw new Error('boom'); })");
  auto second = Calls("js_api_cross_call('b', (t) => js_api_cross_call('second:' + t))");
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(second.size(), 1u);
  Reply(std::stoi(first[0].entries[0].substr(2)), "1");
  Reply(std::stoi(second[0].entries[0].substr(2)), "");
  auto answered = Calls("");
  ASSERT_EQ(answered.size(), 1u);
  EXPECT_EQ(answered[0].entries, (std::vector<std::string>{"i:0", "s:second:"})) << "an empty reply arrives as ''";
}

TEST_F(BridgeTest, MessagesWithTheWrongShapeAreIgnored) {
  auto sent = Calls("js_api_cross_call('q', (t) => js_api_cross_call('got:' + t))");
  ASSERT_EQ(sent.size(), 1u);
  Reply(std::stoi(sent[0].entries[0].substr(2)), "three entries", 1);
  SendEval("js_api_cross_call('evaluated')", true);
  EXPECT_TRUE(Calls("").empty());
}

TEST_F(BridgeTest, EvalJsRunsItsScript) {
  SendEval("js_api_cross_call('evaluated')");
  auto received = Calls("");
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].entries, (std::vector<std::string>{"i:0", "s:evaluated"}));
}

TEST_F(BridgeTest, ACallFromAFrameArrivesThroughTheMainFrame) {
  auto received = Calls("document.querySelector('iframe').contentWindow.callFromFrame()");
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].entries, (std::vector<std::string>{"i:0", "s:from-frame"}));
  EXPECT_TRUE(received[0].fromMainFrame);
}

TEST(EngineFrames, TransparentPixelsArrivePremultiplied) {
  ASSERT_TRUE(EngineSession::Ready());
  CefRefPtr<RecordingClient> client;
  CefRefPtr<CefBrowser> browser = EngineSession::Open(
      "<!doctype html><style>html,body{margin:0;background:transparent}"
      "div{position:absolute;left:40px;top:20px;width:40px;height:40px;background:#ff0000}</style><div></div>",
      client);
  ASSERT_TRUE(browser);
  ASSERT_TRUE(RunUntil([&] {
    return client->frames > 0 && client->frameWidth == 160 && client->lastFrame[(30 * 160 + 60) * 4 + 3] == 255;
  }));
  const auto pixel = [&](int x, int y) { return &client->lastFrame[(static_cast<size_t>(y) * 160 + x) * 4]; };
  EXPECT_EQ(client->frameHeight, 100);
  const uint8_t* outside = pixel(5, 5);
  EXPECT_EQ(outside[0] + outside[1] + outside[2] + outside[3], 0) << "transparent around the square";
  const uint8_t* inside = pixel(60, 30);
  EXPECT_EQ(inside[0], 0);    // B
  EXPECT_EQ(inside[1], 0);    // G
  EXPECT_EQ(inside[2], 255);  // R
  EXPECT_EQ(inside[3], 255);  // A
  browser->GetHost()->CloseBrowser(true);
}

}  // namespace
