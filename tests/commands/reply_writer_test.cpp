#include "commands/reply_writer.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Json = nlohmann::ordered_json;

TEST(ReplyWriter, LaysOutRepliesInTheStyledForm) {
  struct Case {
    const char* what;
    Json value;
    std::string expected;
  };
  const std::string name31(31, 'n');
  const std::string name32(32, 'n');
  const Case cases[] = {
      {"an error reply, members sorted whatever order they were set in",
       {{"tag", 7}, {"msg", ""}, {"func", "nope"}, {"data", nullptr}, {"code", -1}},
       "{\n   \"code\" : -1,\n   \"data\" : null,\n   \"func\" : \"nope\",\n   \"msg\" : \"\",\n"
       "   \"tag\" : 7\n}\n"},
      {"a data object opens on its member's line",
       {{"func", "size"}, {"data", {{"w", 2}, {"h", 1}}}, {"code", 0}},
       "{\n   \"code\" : 0,\n   \"data\" : {\n      \"h\" : 1,\n      \"w\" : 2\n   },\n"
       "   \"func\" : \"size\"\n}\n"},
      {"names in byte order, a prefix first",
       {{"\xC3\xA9", 1}, {"ab", 2}, {"a", 3}, {"_", 4}, {"B", 5}},
       "{\n   \"B\" : 5,\n   \"_\" : 4,\n   \"a\" : 3,\n   \"ab\" : 2,\n   \"\\u00e9\" : 1\n}\n"},
      {"empty containers", {{"a", Json::array()}, {"b", Json::object()}},
       "{\n   \"a\" : [],\n   \"b\" : {}\n}\n"},
      {"numbers of every kind",
       {{"i", std::numeric_limits<int64_t>::min()},
        {"r", 1.5},
        {"u", std::numeric_limits<uint64_t>::max()},
        {"w", 3.0}},
       "{\n   \"i\" : -9223372036854775808,\n   \"r\" : 1.5,\n   \"u\" : 18446744073709551615,\n"
       "   \"w\" : 3.0\n}\n"},
      {"scalar roots", nullptr, "null\n"},
      {"a boolean root", false, "false\n"},
      {"a short array of leaves on one line", {{"a", {1, "x", nullptr, true, Json::array()}}},
       "{\n   \"a\" : [ 1, \"x\", null, true, [] ]\n}\n"},
      {"a one-line array just inside the margin (73 columns)", Json::array({name31, name32}),
       "[ \"" + name31 + "\", \"" + name32 + "\" ]\n"},
      {"an array reaching the margin (74 columns) goes one value a line",
       {{"a", {name32, name32}}},
       "{\n   \"a\" : [\n      \"" + name32 + "\",\n      \"" + name32 + "\"\n   ]\n}\n"},
      {"25 values go one a line", Json(std::vector<int>(25, 0)),
       "[\n" + [] {
         std::string lines;
         for (int i = 0; i < 24; ++i) lines += "   0,\n";
         return lines + "   0\n]\n";
       }()},
      {"an array holding containers goes one value a line", Json::array({Json::array({1}), 2}),
       "[\n   [ 1 ],\n   2\n]\n"},
      {"objects inside an array",
       Json::array({Json{{"b", 1}, {"a", 2}}, Json::object()}),
       "[\n   {\n      \"a\" : 2,\n      \"b\" : 1\n   },\n   {}\n]\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WriteStyledReply(c.value), c.expected) << c.what;
  }
}

TEST(ReplyWriter, WritesStringsAsPlainAscii) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string expected;  // without the quotes and the final line feed
  };
  const Case cases[] = {
      {"short escapes", "\"\\\b\f\n\r\t", R"(\"\\\b\f\n\r\t)"},
      {"other control bytes in lower-case hex", std::string("\x01\x1f\0", 3), R"(\u0001\u001f\u0000)"},
      {"slash and DEL as they are", "a/b\x7f", "a/b\x7f"},
      {"Chinese", "\xE4\xB8\xAD\xE6\x96\x87", R"(\u4e2d\u6587)"},
      {"two-byte characters", "\xC3\xA9\xC3\x89", R"(\u00e9\u00c9)"},
      {"above U+FFFF as a surrogate pair", "\xF0\x9F\x98\x80", R"(\ud83d\ude00)"},
      {"the last code point", "\xF4\x8F\xBF\xBF", R"(\udbff\udfff)"},
      {"a stray byte", "a\xFF" "b", R"(a\ufffdb)"},
      {"a lead byte before ASCII", "\xC3(", R"(\ufffd()"},
      {"a sequence cut short by the end", "x\xE4\xB8", R"(x\ufffd\ufffd)"},
      {"an overlong form", "\xC0\xAF", R"(\ufffd\ufffd)"},
      {"an encoded surrogate", "\xED\xA0\x80", R"(\ufffd\ufffd\ufffd)"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", R"(\ufffd\ufffd\ufffd\ufffd)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WriteStyledReply(Json(c.bytes)), "\"" + c.expected + "\"\n") << c.what;
    // Names are written the same way.
    EXPECT_EQ(WriteStyledReply(Json{{c.bytes, 1}}), "{\n   \"" + c.expected + "\" : 1\n}\n") << c.what;
  }
}

TEST(ReplyWriter, WritesRealsWithSeventeenDigits) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0.1, "0.10000000000000001"},
      {3.0, "3.0"},
      {-0.0, "-0.0"},
      {100.0, "100.0"},
      {1e21, "1e+21"},
      {1e-7, "9.9999999999999995e-08"},
      {123456789012345678.0, "1.2345678901234568e+17"},
      {std::numeric_limits<double>::quiet_NaN(), "null"},
      {std::numeric_limits<double>::infinity(), "1e+9999"},
      {-std::numeric_limits<double>::infinity(), "-1e+9999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RealToText(c.value), c.text) << c.text;
  }
}

}  // namespace
