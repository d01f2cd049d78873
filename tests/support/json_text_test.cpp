#include "support/json_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Json::Document;
using namespace std::literals;

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// "\xe4\xb8\xad\xe6\x96\x87" is 中文 in UTF-8.
struct SerializeCase {
  const char* what;
  Document document;
  std::string pretty;
  std::string compact;
};

std::vector<SerializeCase> SerializeCases() {
  return {
      {"nesting, empty containers, member order",
       Document{{"Prefs", Document::array({Document{{"a", "x"}, {"n", 3}}})}, {"e", Document::object()}},
       "{\n    \"Prefs\": [\n        {\n            \"a\": \"x\",\n            \"n\": 3\n        }\n    ],\n"
       "    \"e\": {}\n}",
       R"({"Prefs":[{"a":"x","n":3}],"e":{}})"},
      {"empty object at the top", Document::object(), "{}", "{}"},
      {"empty array at the top", Document::array(), "[]", "[]"},
      {"a bare scalar", Document(-42), "-42", "-42"},
      {"literals and empty containers as array items",
       Document::array({Document::array(), Document::object(), true, false, nullptr}),
       "[\n    [],\n    {},\n    true,\n    false,\n    null\n]", "[[],{},true,false,null]"},
      {"insertion order, not name order", Document{{"z", 1}, {"a", 2}, {"m", 3}},
       "{\n    \"z\": 1,\n    \"a\": 2,\n    \"m\": 3\n}", R"({"z":1,"a":2,"m":3})"},
      {"int64 limits and signs", Document::array({kMin, kMax, -1, 0}),
       "[\n    -9223372036854775808,\n    9223372036854775807,\n    -1,\n    0\n]",
       "[-9223372036854775808,9223372036854775807,-1,0]"},
      {"three levels of indentation", Document{{"a", Document{{"b", Document::array({1, Document::array({2})})}}}},
       "{\n    \"a\": {\n        \"b\": [\n            1,\n            [\n                2\n            ]\n"
       "        ]\n    }\n}",
       R"({"a":{"b":[1,[2]]}})"},
      {"escapes in values; UTF-8 and DEL unchanged",
       Document::array({"q\" b\\ s/ \b\f\n\r\t \x01\x1f "s + '\0' + " \xe4\xb8\xad\xe6\x96\x87 \x7f"}),
       "[\n    \"q\\\" b\\\\ s\\/ \\b\\f\\n\\r\\t \\u0001\\u001f \\u0000 \xe4\xb8\xad\xe6\x96\x87 \x7f\"\n]",
       "[\"q\\\" b\\\\ s\\/ \\b\\f\\n\\r\\t \\u0001\\u001f \\u0000 \xe4\xb8\xad\xe6\x96\x87 \x7f\"]"},
      {"member names escaped the same way", Document{{"a/b\"c\n\xe4\xb8\xad", true}},
       "{\n    \"a\\/b\\\"c\\n\xe4\xb8\xad\": true\n}", "{\"a\\/b\\\"c\\n\xe4\xb8\xad\":true}"},
  };
}

TEST(JsonSerialize, WritesTheFileFormatByteForByte) {
  for (const SerializeCase& row : SerializeCases()) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Json::SerializePretty(row.document), row.pretty);
    EXPECT_EQ(Json::SerializeCompact(row.document), row.compact);
  }
}

// Parse never yields these number kinds, but code can put them in a document:
// they are still written as int64 so the file reads back.
TEST(JsonSerialize, OtherNumberKindsAreWrittenAsInt64) {
  const Document document = Document::array({
      1.9,                                       // fraction cut off
      -1.9,                                      // towards zero
      1e30,                                      // beyond int64: clamped
      -1e30,
      std::numeric_limits<uint64_t>::max(),      // unsigned beyond int64: clamped
      uint64_t{7},
  });
  EXPECT_EQ(Json::SerializeCompact(document),
            "[1,-1,9223372036854775807,-9223372036854775808,9223372036854775807,7]");
}

struct ParseCase {
  const char* what;
  std::string_view text;
  std::optional<std::string_view> compact;  // nullopt: the text is refused
};

constexpr std::optional<std::string_view> kRefused = std::nullopt;

const ParseCase kParseCases[] = {
    {"white space around the value", " \t\r\n{ \"a\" : [ 1 , 2 ] }\r\n "sv, R"({"a":[1,2]})"sv},
    {"literals and strings", R"({"a":[true,false,null,"s",-7],"b":{}})"sv,
     R"({"a":[true,false,null,"s",-7],"b":{}})"sv},
    {"a bare scalar", "17"sv, "17"sv},
    {"member order as written", R"({"z":1,"a":2})"sv, R"({"z":1,"a":2})"sv},
    {"a byte-order mark is the file reader's to skip", "\xEF\xBB\xBF{}"sv, kRefused},
    {"fraction", "1.5"sv, kRefused},
    {"fraction of zero", "[1.0]"sv, kRefused},
    {"exponent", "[1e3]"sv, kRefused},
    {"capital exponent", "1E3"sv, kRefused},
    {"leading zero", "01"sv, kRefused},
    {"leading zero in an array", "[01]"sv, kRefused},
    {"negative leading zero", "-01"sv, kRefused},
    {"minus zero reads as 0", "-0"sv, "0"sv},
    {"plus sign", "+1"sv, kRefused},
    {"int64 max", "9223372036854775807"sv, "9223372036854775807"sv},
    {"int64 min", "-9223372036854775808"sv, "-9223372036854775808"sv},
    {"int64 max + 1", "9223372036854775808"sv, kRefused},
    {"int64 min - 1", "-9223372036854775809"sv, kRefused},
    {"beyond uint64", "[18446744073709551616]"sv, kRefused},
    {"\\u escapes and a surrogate pair become UTF-8", R"("\u00e9\ud83d\ude00\u4E2D")"sv,
     "\"\xc3\xa9\xf0\x9f\x98\x80\xe4\xb8\xad\""sv},
    {"escaped zero byte", R"("a\u0000b")"sv, R"("a\u0000b")"sv},
    {"all short escapes", R"("\"\\\/\b\f\n\r\t")"sv, R"("\"\\\/\b\f\n\r\t")"sv},
    {"lone high surrogate", R"("\ud83d")"sv, kRefused},
    {"high surrogate before a letter", R"("\ud83dx")"sv, kRefused},
    {"lone low surrogate", R"("\ude00")"sv, kRefused},
    {"raw UTF-8 kept", "\"\xe4\xb8\xad\xe6\x96\x87\""sv, "\"\xe4\xb8\xad\xe6\x96\x87\""sv},
    {"UTF-8 cut short", "\"\xc3\""sv, kRefused},
    {"overlong UTF-8", "\"\xc0\xaf\""sv, kRefused},
    {"UTF-8 encoded surrogate", "\"\xed\xa0\x80\""sv, kRefused},
    {"UTF-8 beyond U+10FFFF", "\"\xf4\x90\x80\x80\""sv, kRefused},
    {"byte 0xFF", "\"\xff\""sv, kRefused},
    {"raw control character in a string", "\"a\tb\""sv, kRefused},
    {"duplicate member names", R"({"a":1,"a":2})"sv, kRefused},
    {"duplicate names in a nested object", R"({"x":{"a":1,"b":2,"a":3}})"sv, kRefused},
    {"same name in different objects", R"({"a":{"a":1}})"sv, R"({"a":{"a":1}})"sv},
    {"empty text", ""sv, kRefused},
    {"only white space", " \r\n"sv, kRefused},
    {"trailing garbage", "{} x"sv, kRefused},
    {"two values", "{}{}"sv, kRefused},
    {"two numbers", "1 2"sv, kRefused},
    {"zero byte after the value", "{}\0"sv, kRefused},
    {"zero byte before garbage", "[1]\0]"sv, kRefused},
    {"trailing comma", "[1,]"sv, kRefused},
    {"comment", "/**/{}"sv, kRefused},
    {"single quotes", "['a']"sv, kRefused},
    {"unclosed array", "[1"sv, kRefused},
};

TEST(JsonParse, FollowsTheFileRules) {
  for (const ParseCase& row : kParseCases) {
    SCOPED_TRACE(row.what);
    const std::optional<Document> document = Json::Parse(row.text);
    ASSERT_EQ(document.has_value(), row.compact.has_value());
    if (document) {
      EXPECT_EQ(Json::SerializeCompact(*document), *row.compact);
    }
  }
}

TEST(JsonParse, MinusZeroIsAnInt64) {
  const std::optional<Document> document = Json::Parse("-0");
  ASSERT_TRUE(document);
  EXPECT_TRUE(document->is_number_integer() && !document->is_number_unsigned());
  EXPECT_EQ(document->get<int64_t>(), 0);
}

TEST(JsonParse, PositiveNumbersAreStoredAsInt64) {
  const std::optional<Document> document = Json::Parse("[5,9223372036854775807]");
  ASSERT_TRUE(document);
  for (const Document& number : *document) EXPECT_FALSE(number.is_number_unsigned());
}

std::string NestedArrays(size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

std::string NestedObjects(size_t depth) {
  std::string text;
  for (size_t i = 1; i < depth; ++i) text += R"({"a":)";
  text += "{}";
  text.append(depth - 1, '}');
  return text;
}

TEST(JsonParse, NestingStopsAt2048Levels) {
  struct Case {
    const char* what;
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {"2048 arrays", NestedArrays(2048), true},
      {"2049 arrays", NestedArrays(2049), false},
      {"2048 objects", NestedObjects(2048), true},
      {"2049 objects", NestedObjects(2049), false},
      {"2048 mixed, with an object at the bottom", NestedArrays(2047).insert(2047, "{}"), true},
      {"2049 mixed", NestedArrays(2048).insert(2048, "{}"), false},
      {"a million unclosed arrays", std::string(1000000, '['), false},
      {"a million closed arrays", NestedArrays(1000000), false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    const std::optional<Document> document = Json::Parse(row.text);
    ASSERT_EQ(document.has_value(), row.valid);
    if (document) {
      EXPECT_EQ(Json::SerializeCompact(*document), row.text);
    }
  }
}

// Documents built in code have no depth limit; writing them must not depend
// on the size of the program's stack.
TEST(JsonSerialize, WritesDocumentsDeeperThanTheStackAllows) {
  constexpr size_t kDepth = 200000;
  Document document = Document::array();
  for (size_t i = 1; i < kDepth; ++i) {
    Document outer = Document::array();
    outer.push_back(std::move(document));
    document = std::move(outer);
  }
  EXPECT_EQ(Json::SerializeCompact(document), NestedArrays(kDepth));
}

}  // namespace
