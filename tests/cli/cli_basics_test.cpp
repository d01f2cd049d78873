// tarnwick-cli.exe as a program: its input, output and exit code.

#include "tests/cli/cli_fixture.h"

namespace {

const char kUnknownReply[] =
    "{\n   \"code\" : -1,\n   \"data\" : null,\n   \"func\" : \"nope\",\n   \"msg\" : \"\",\n   \"tag\" : 7\n}\n";

TEST_F(CliTest, PrintsExactlyTheReplyText) {
  const auto result = Run(R"({"func":"nope","tag":7})");
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(result.out, kUnknownReply);
  EXPECT_NE(result.err.find(R"({"func":"nope","tag":7})"), std::string::npos) << "the request is logged";
}

TEST_F(CliTest, PrintsNothingForCallbackZero) {
  const auto result = Run(R"({"func":"nope","tag":7})", "--callback 0");
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(result.out, "");
}

TEST_F(CliTest, RefusesUnknownArguments) {
  const auto result = Run(R"({"func":"nope","tag":7})", "--callback");
  EXPECT_EQ(result.exitCode, 2u);
  EXPECT_EQ(result.out, "");
}

TEST_F(CliTest, ReadsTheRequestBytesUnchanged) {
  // A CR LF inside the text and a request larger than one pipe buffer.
  const std::string request = "{\"func\":\"nope\",\r\n\"tag\":7,\"pad\":\"" + std::string(200000, 'x') + "\"}";
  EXPECT_EQ(Run(request).out, kUnknownReply);
}

}  // namespace
