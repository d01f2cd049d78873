#include "support/json_document.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "support/json_text.h"

namespace {

using Json::Document;
using namespace std::literals;

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

Document Sample() {
  return Document{{"text", "x"},         {"count", 5},     {"negative", kMin},
                  {"list", {1, 2, 3}},    {"emptyList", Document::array()},
                  {"flag", true},         {"nothing", nullptr},
                  {"object", {{"text", "inner"}}}, {"digits", "12"}};
}

TEST(JsonDocument, MemberReadsForgiveAbsentAndMistypedMembers) {
  struct Case {
    const char* name;
    std::string text;
    int64_t number;
    bool isArray;
    size_t count;
  };
  const Case cases[] = {
      {"text", "x", 0, false, 0},
      {"count", "", 5, false, 0},
      {"negative", "", kMin, false, 0},
      {"list", "", 0, true, 3},
      {"emptyList", "", 0, true, 0},
      {"flag", "", 0, false, 0},       // a boolean is no number
      {"nothing", "", 0, false, 0},
      {"object", "", 0, false, 0},     // members of members are not looked at
      {"digits", "12", 0, false, 0},   // a string of digits is no number
      {"absent", "", 0, false, 0},
      {"Text", "", 0, false, 0},       // names are case-sensitive
  };
  const Document document = Sample();
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Json::GetString(document, row.name), row.text);
    EXPECT_EQ(Json::GetNumber(document, row.name), row.number);
    const Document* array = Json::GetArray(document, row.name);
    EXPECT_EQ(array != nullptr, row.isArray);
    EXPECT_EQ(Json::ArrayCount(array), row.count);
  }
}

TEST(JsonDocument, ReadsFromSomethingOtherThanAnObjectFindNothing) {
  for (const Document& notObject : {Document::array({"text"}), Document("text"), Document()}) {
    EXPECT_EQ(Json::GetString(notObject, "text"), "");
    EXPECT_EQ(Json::GetNumber(notObject, "text"), 0);
    EXPECT_EQ(Json::GetArray(notObject, "text"), nullptr);
  }
}

TEST(JsonDocument, SettingAMemberReplacesItInPlaceOrAppendsIt) {
  Document document{{"a", "1"}, {"b", 2}, {"c", "3"}};
  EXPECT_TRUE(Json::SetString(document, "a", "x"));
  Json::SetNumber(document, "b", kMin);
  Json::SetNumber(document, "d", 4);
  EXPECT_TRUE(Json::SetString(document, "e", "\xe4\xb8\xad"));
  EXPECT_EQ(Json::SerializeCompact(document),
            "{\"a\":\"x\",\"b\":-9223372036854775808,\"c\":\"3\",\"d\":4,\"e\":\"\xe4\xb8\xad\"}");
  EXPECT_TRUE(document["d"].is_number_integer() && !document["d"].is_number_unsigned());
}

TEST(JsonDocument, SettingTurnsAnEmptyDocumentIntoAnObject) {
  Document document;
  EXPECT_TRUE(Json::SetString(document, "a", "x"));
  EXPECT_EQ(Json::SerializeCompact(document), R"({"a":"x"})");
}

struct Utf8Case {
  const char* what;
  std::string_view text;
  bool valid;
};

const Utf8Case kUtf8Cases[] = {
    {"empty", ""sv, true},
    {"ASCII", "plain text"sv, true},
    {"Chinese", "\xe4\xb8\xad\xe6\x96\x87"sv, true},
    {"four-byte sequence", "\xf0\x9f\x98\x80"sv, true},
    {"highest code point", "\xf4\x8f\xbf\xbf"sv, true},
    {"zero byte inside", "a\0b"sv, true},
    {"cut short", "a\xc3"sv, false},
    {"three-byte sequence cut short", "\xe4\xb8"sv, false},
    {"lone continuation byte", "\x80"sv, false},
    {"overlong slash", "\xc0\xaf"sv, false},
    {"overlong three-byte form", "\xe0\x80\xaf"sv, false},
    {"encoded surrogate", "\xed\xa0\x80"sv, false},
    {"beyond U+10FFFF", "\xf4\x90\x80\x80"sv, false},
    {"byte 0xFF", "\xff"sv, false},
    {"ANSI (code page 1252) e acute", "caf\xe9"sv, false},
};

TEST(JsonDocument, SetStringTakesOnlyValidUtf8) {
  for (const Utf8Case& row : kUtf8Cases) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Json::IsValidUtf8(row.text), row.valid);

    Document document{{"present", "old"}};
    EXPECT_EQ(Json::SetString(document, "present", row.text), row.valid);
    EXPECT_EQ(Json::SetString(document, "absent", row.text), row.valid);
    if (row.valid) {
      EXPECT_EQ(Json::GetString(document, "present"), row.text);
      EXPECT_EQ(Json::GetString(document, "absent"), row.text);
    } else {
      EXPECT_EQ(Json::SerializeCompact(document), R"({"present":"old"})");
    }
  }
}

}  // namespace
