#include "browser/page_call.h"

#include <gtest/gtest.h>

namespace {

CefRefPtr<CefProcessMessage> Message(const char* name) { return CefProcessMessage::Create(name); }

TEST(PageCall, ReadsTheCallbackIdAndTheRequestText) {
  CefRefPtr<CefProcessMessage> message = Message("js_api_cross_call");
  message->GetArgumentList()->SetInt(0, 7);
  message->GetArgumentList()->SetString(1, L"{\"func\":\"\u4e2d\"}");
  message->GetArgumentList()->SetString(2, "ignored");
  const auto call = ReadPageCall(*message);
  ASSERT_TRUE(call);
  EXPECT_EQ(call->callbackId, 7);
  EXPECT_EQ(call->request, std::optional<std::string>("{\"func\":\"\xE4\xB8\xAD\"}"));  // UTF-8
}

TEST(PageCall, ACallWithoutArgumentsHasNoRequest) {
  CefRefPtr<CefProcessMessage> message = Message("js_api_cross_call");
  message->GetArgumentList()->SetInt(0, 3);
  const auto call = ReadPageCall(*message);
  ASSERT_TRUE(call);
  EXPECT_EQ(call->callbackId, 3);
  EXPECT_EQ(call->request, std::nullopt);
}

TEST(PageCall, ARequestThatIsNoTextReadsEmpty) {
  CefRefPtr<CefProcessMessage> message = Message("js_api_cross_call");
  message->GetArgumentList()->SetInt(0, 0);
  message->GetArgumentList()->SetDouble(1, 5);
  const auto call = ReadPageCall(*message);
  ASSERT_TRUE(call);
  EXPECT_EQ(call->request, std::optional<std::string>(""));
}

TEST(PageCall, OtherMessagesAreNoCalls) {
  for (const char* name : {"cross_call", "EvalJS", "js_api_cross_call ", ""}) {
    CefRefPtr<CefProcessMessage> message = Message(name);
    message->GetArgumentList()->SetInt(0, 1);
    EXPECT_FALSE(ReadPageCall(*message)) << name;
  }
}

}  // namespace
