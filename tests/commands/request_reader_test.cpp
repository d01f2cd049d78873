#include "commands/request_reader.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using Json = nlohmann::ordered_json;

std::string Repeat(const std::string& piece, size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

// The compact text of what was read, or "refused".
std::string Outcome(const std::string& text) {
  const auto parsed = ParseRequestText(text);
  return parsed ? parsed->dump() : "refused";
}

TEST(RequestReader, ReadsWhatThePageReaderAccepts) {
  struct Case {
    const char* what;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"plain request", R"({"func":"list","tag":3,"data":{"id":"a"}})",
       R"({"func":"list","tag":3,"data":{"id":"a"}})"},
      {"block and line comments anywhere blank is allowed",
       "/* lead */ {\t\"a\" /*x*/ : // to the end\r 1 // c\n , \"b\":[/**/2/**/]} ",
       R"({"a":1,"b":[2]})"},
      {"trailing commas", R"({"a":[1,2,],"b":{"c":null,},})", R"({"a":[1,2],"b":{"c":null}})"},
      {"anything after the root is ignored", R"({"a":1} ]]garbage{)", R"({"a":1})"},
      {"even an unterminated comment after the root", "[1] /* open", "[1]"},
      {"a scalar root", R"("text")", R"("text")"},
      {"a literal root with trailing bytes", "truex", "true"},
      {"false and null", "[false,null]", "[false,null]"},
      {"white space around", " \r\n\t[ ] \n", "[]"},
      {"empty object", "{}", "{}"},
      {"a repeated name keeps the last value at the first position",
       R"({"a":1,"b":2,"a":[3]})", R"({"a":[3],"b":2})"},
      {"empty text", "", "refused"},
      {"only blank and comments", " /* c */ // d\n", "refused"},
      {"unterminated block comment", "/* open [1]", "refused"},
      {"a lone slash", "/ 1", "refused"},
      {"unclosed array", "[1,2", "refused"},
      {"unclosed object", R"({"a":1)", "refused"},
      {"missing comma", "[1 2]", "refused"},
      {"missing colon", R"({"a" 1})", "refused"},
      {"a name that is not a string", "{a:1}", "refused"},
      {"a number as a name", R"({1:1})", "refused"},
      {"a lone comma in an array", "[,]", "refused"},
      {"a lone comma in an object", "{,}", "refused"},
      {"two commas", "[1,,2]", "refused"},
      {"a literal glued to the next token", "[truex]", "refused"},
      {"single quotes", "['a']", "refused"},
      {"unterminated string", R"(["abc)", "refused"},
      {"unknown escape", R"(["\x41"])", "refused"},
      {"short \\u escape", R"(["\u12"])", "refused"},
      {"a lone high surrogate", R"(["\ud83d"])", "refused"},
      {"a high surrogate before another escape", R"(["\ud83d\n"])", "refused"},
      {"a high surrogate before a non-surrogate \\u", R"(["\ud83d\u0041"])", "refused"},
      {"two high surrogates", R"(["\ud83d\ud83d"])", "refused"},
      {"plus sign", "[+1]", "refused"},
      {"bare fraction", "[.5]", "refused"},
      {"fraction without digits", "[1.]", "refused"},
      {"exponent without digits", "[1e+]", "refused"},
      {"a lone minus", "[-]", "refused"},
      {"hex number", "[0x10]", "refused"},
      {"a real beyond double", "[1e400]", "refused"},
      {"an integer beyond double", "[1" + std::string(400, '0') + "]", "refused"},
      {"a real that underflows reads as zero", "[1e-400]", "[0.0]"},
      {"leading zeros", "[012,-007,00.5]", "[12,-7,0.5]"},
      {"1000 levels of arrays", Repeat("[", 1000) + Repeat("]", 1000),
       Repeat("[", 1000) + Repeat("]", 1000)},
      {"1001 levels of arrays", Repeat("[", 1001) + Repeat("]", 1001), "refused"},
      {"a scalar at level 1000", Repeat("[", 999) + "1" + Repeat("]", 999),
       Repeat("[", 999) + "1" + Repeat("]", 999)},
      {"a scalar at level 1001", Repeat("[", 1000) + "1" + Repeat("]", 1000), "refused"},
      {"a member at level 1001", Repeat(R"({"a":)", 1000) + "1" + Repeat("}", 1000), "refused"},
      {"100,000 open arrays", Repeat("[", 100000), "refused"},
      {"100,000 open objects", Repeat(R"({"a":)", 100000), "refused"},
      {"100,000 closed arrays", Repeat("[", 100000) + Repeat("]", 100000), "refused"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Outcome(c.text), c.expected) << c.what;
  }
}

TEST(RequestReader, KeepsIntegersApartFromReals) {
  struct Case {
    const char* text;
    Json::value_t kind;
    const char* dump;
  };
  const Case cases[] = {
      {"0", Json::value_t::number_integer, "0"},
      {"-0", Json::value_t::number_integer, "0"},
      {"9223372036854775807", Json::value_t::number_integer, "9223372036854775807"},
      {"-9223372036854775808", Json::value_t::number_integer, "-9223372036854775808"},
      {"9223372036854775808", Json::value_t::number_unsigned, "9223372036854775808"},
      {"18446744073709551615", Json::value_t::number_unsigned, "18446744073709551615"},
      {"18446744073709551616", Json::value_t::number_float, "1.8446744073709552e+19"},
      {"-9223372036854775809", Json::value_t::number_float, "-9.223372036854776e+18"},
      {"1.5", Json::value_t::number_float, "1.5"},
      {"-2.0", Json::value_t::number_float, "-2.0"},
      {"1E2", Json::value_t::number_float, "100.0"},
      {"25e-1", Json::value_t::number_float, "2.5"},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseRequestText(c.text);
    ASSERT_TRUE(parsed.has_value()) << c.text;
    EXPECT_EQ(parsed->type(), c.kind) << c.text;
    EXPECT_EQ(parsed->dump(), c.dump) << c.text;
  }
}

TEST(RequestReader, TakesStringBytesAsTheyComeAndDecodesEscapes) {
  struct Case {
    const char* what;
    std::string text;  // the string literal as sent, quotes included
    std::string bytes;
  };
  const Case cases[] = {
      {"simple escapes", R"("\"\\\/\b\f\n\r\t")", "\"\\/\b\f\n\r\t"},
      {"\\u in either case", R"("\u0041\u00e9\u00E9\u4E2D")", "A\xC3\xA9\xC3\xA9\xE4\xB8\xAD"},
      {"\\u0000 is a zero byte", R"("a\u0000b")", std::string("a\0b", 3)},
      {"a surrogate pair becomes one 4-byte sequence", R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"},
      {"a lone low surrogate is encoded as it is", R"("\udc00")", "\xED\xB0\x80"},
      {"raw control bytes are kept", "\"a\x01\tb\nc\"", "a\x01\tb\nc"},
      {"invalid UTF-8 is kept", "\"\xFF\xC3(\xED\xA0\x80\"", "\xFF\xC3(\xED\xA0\x80"},
      {"raw UTF-8 is kept", "\"\xE4\xB8\xAD\"", "\xE4\xB8\xAD"},
      {"an escaped quote does not end the string", R"("a\"b")", "a\"b"},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseRequestText("{" + c.text + ":" + c.text + "}");
    ASSERT_TRUE(parsed.has_value()) << c.what;
    ASSERT_EQ(parsed->size(), 1u) << c.what;
    EXPECT_EQ(parsed->begin().key(), c.bytes) << c.what << " (name)";
    EXPECT_EQ(parsed->begin().value().get<std::string>(), c.bytes) << c.what << " (value)";
  }
}

}  // namespace
