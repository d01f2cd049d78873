#include "commands/lenient_value.h"

#include <climits>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace {

using Json = nlohmann::ordered_json;

TEST(LenientValue, ReadsEveryKindAsIntStringAndBool) {
  struct Case {
    const char* what;
    Json value;
    int asInt;
    std::string asString;
    bool asBool;
  };
  const Case cases[] = {
      {"null", nullptr, 0, "", false},
      {"integer", 42, 42, "42", true},
      {"zero", 0, 0, "0", false},
      {"negative integer", -7, -7, "-7", true},
      {"int32 minimum", INT_MIN, INT_MIN, "-2147483648", true},
      {"integer above int32", int64_t{3000000000}, 0, "3000000000", true},
      {"integer below int32", int64_t{-2147483649}, 0, "-2147483649", true},
      {"unsigned", uint64_t{7}, 7, "7", true},
      {"unsigned above int32", std::numeric_limits<uint64_t>::max(), 0, "18446744073709551615", true},
      {"real truncates toward zero", 2.9, 2, "2.8999999999999999", true},
      {"negative real truncates toward zero", -2.9, -2, "-2.8999999999999999", true},
      {"whole real keeps its point", 3.0, 3, "3.0", true},
      {"real zero", 0.0, 0, "0.0", false},
      {"real above int32", 1e10, 0, "10000000000.0", true},
      {"real just above int32", 2147483647.5, 0, "2147483647.5", true},
      {"real with exponent", 1e21, 0, "1e+21", true},
      {"text with a leading number", "  12abc", 12, "  12abc", false},
      {"negative text", "-7", -7, "-7", false},
      {"text with a plus sign", "+3", 3, "+3", false},
      {"text without a number", "abc", 0, "abc", false},
      {"text beyond int32 clamps", "99999999999", INT_MAX, "99999999999", false},
      {"negative text beyond int32 clamps", "-99999999999", INT_MIN, "-99999999999", false},
      {"every atoi white space", "\t\n\v\f\r 5", 5, "\t\n\v\f\r 5", false},
      {"a sign apart from its digits", "- 5", 0, "- 5", false},
      {"a zero byte ends the number", std::string("1\0" "2", 3), 1, std::string("1\0" "2", 3), false},
      {"empty text", "", 0, "", false},
      {"text that says true", "true", 0, "true", false},
      {"true", true, 0, "true", true},
      {"false", false, 0, "false", false},
      {"array", Json::array({1}), 0, "", false},
      {"object", Json::object({{"a", 1}}), 0, "", false},
  };
  for (const Case& c : cases) {
    const LenientValue value(&c.value);
    EXPECT_EQ(value.AsInt(), c.asInt) << c.what;
    EXPECT_EQ(value.AsString(), c.asString) << c.what;
    EXPECT_EQ(value.AsBool(), c.asBool) << c.what;
  }
}

TEST(LenientValue, LooksUpMembersOnlyInObjects) {
  const Json request = {{"tag", 5}, {"data", {{"name", "vm1"}, {"none", nullptr}}}, {"list", {1, 2}}};
  const LenientValue root(&request);
  EXPECT_EQ(root["tag"].AsInt(), 5);
  EXPECT_EQ(root["data"]["name"].AsString(), "vm1");

  const struct {
    const char* what;
    LenientValue value;
  } absent[] = {
      {"no such member", root["missing"]},
      {"below an absent member", root["missing"]["deeper"]},
      {"a number is not an object", root["tag"]["x"]},
      {"nor is an array", root["list"]["0"]},
      {"nor is null", root["data"]["none"]["x"]},
      {"nor is a string", root["data"]["name"]["x"]},
      {"nothing at all", LenientValue()["a"]},
  };
  for (const auto& c : absent) {
    EXPECT_EQ(c.value.AsInt(), 0) << c.what;
    EXPECT_EQ(c.value.AsString(), "") << c.what;
    EXPECT_FALSE(c.value.AsBool()) << c.what;
  }
}

}  // namespace
