#include "commands/dispatcher.h"

#include <gtest/gtest.h>

namespace {

std::optional<std::string> Dispatch(int callbackId, const std::string& request) {
  CommandEnvironment environment;
  return RunScriptCall(callbackId, &request, environment);
}

std::string UnknownReply(const std::string& func, int tag) {
  return "{\n   \"code\" : -1,\n   \"data\" : null,\n   \"func\" : \"" + func + "\",\n   \"msg\" : \"\",\n   \"tag\" : " +
         std::to_string(tag) + "\n}\n";
}

struct UnknownCase {
  const char* request;
  const char* func;  // as echoed
  int tag;           // as echoed
};

// Requests that select no command answer -1 with an empty msg and null data.
const UnknownCase kUnknownCases[] = {
    {R"({"func":"nope","tag":7})", "nope", 7},               // no such command
    {R"({"func":"RESULTJSON","tag":1})", "RESULTJSON", 1},   // names are case-sensitive
    {R"({"func":"resultjson ","tag":1})", "resultjson ", 1}, // and compared whole
    {R"({"func":"nope","tag":"12"})", "nope", 12},           // a decimal string tag is read as a number
    {R"({"func":"nope"})", "nope", 0},                       // no tag
    {R"({"func":"resultjson","tag":3)", "", 0},              // not JSON: no func at all
    {R"(["resultjson"])", "", 0},                            // not an object
    {"", "", 0},                                             // nothing
    {R"({"func":5,"tag":2.9})", "5", 2},                     // lenient reads of the wrong kinds
};

TEST(Dispatcher, AnswersUnknownCommandsWithMinusOne) {
  for (const UnknownCase& c : kUnknownCases) {
    EXPECT_EQ(Dispatch(1, c.request), UnknownReply(c.func, c.tag)) << c.request;
  }
}

TEST(Dispatcher, SendsNothingForCallbackZero) { EXPECT_EQ(Dispatch(0, R"({"func":"nope","tag":7})"), std::nullopt); }

TEST(Dispatcher, AnswersACallWithoutRequestText) {
  CommandEnvironment environment;
  EXPECT_EQ(RunScriptCall(4, nullptr, environment), UnknownReply("", 0));
}

TEST(Dispatcher, ConvertsTheReplyToUtf16) {
  EXPECT_EQ(ReplyTextToUtf16("{\n}\n"), L"{\n}\n");
  EXPECT_EQ(ReplyTextToUtf16(""), L"");
}

}  // namespace
