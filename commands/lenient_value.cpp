#include "commands/lenient_value.h"

#include <climits>
#include <cstdint>

#include "commands/reply_writer.h"

namespace {

using Json = nlohmann::ordered_json;

bool IsAtoiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi's reading: white space, a sign, then digits up to the first other byte.
// Values beyond int clamp to INT_MAX / INT_MIN.
int LeadingDecimal(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsAtoiSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit) {
      magnitude = limit;
      break;
    }
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}

}  // namespace

LenientValue LenientValue::operator[](const char* name) const {
  if (value_ == nullptr || !value_->is_object()) return LenientValue();
  const auto member = value_->find(name);
  if (member == value_->end()) return LenientValue();
  return LenientValue(&*member);
}

int LenientValue::AsInt() const {
  if (value_ == nullptr) return 0;
  switch (value_->type()) {
    case Json::value_t::number_integer: {
      const int64_t number = value_->get<int64_t>();
      return number >= INT_MIN && number <= INT_MAX ? static_cast<int>(number) : 0;
    }
    case Json::value_t::number_unsigned: {
      const uint64_t number = value_->get<uint64_t>();
      return number <= static_cast<uint64_t>(INT_MAX) ? static_cast<int>(number) : 0;
    }
    case Json::value_t::number_float: {
      // Written as range checks that NaN fails too.
      const double number = value_->get<double>();
      return number >= INT_MIN && number <= INT_MAX ? static_cast<int>(number) : 0;
    }
    case Json::value_t::string:
      return LeadingDecimal(value_->get_ref<const std::string&>());
    default:
      return 0;
  }
}

std::string LenientValue::AsString() const {
  if (value_ == nullptr) return "";
  switch (value_->type()) {
    case Json::value_t::number_integer: return std::to_string(value_->get<int64_t>());
    case Json::value_t::number_unsigned: return std::to_string(value_->get<uint64_t>());
    case Json::value_t::number_float: return RealToText(value_->get<double>());
    case Json::value_t::string: return value_->get<std::string>();
    case Json::value_t::boolean: return value_->get<bool>() ? "true" : "false";
    default: return "";
  }
}

bool LenientValue::AsBool() const {
  if (value_ == nullptr) return false;
  switch (value_->type()) {
    case Json::value_t::number_integer: return value_->get<int64_t>() != 0;
    case Json::value_t::number_unsigned: return value_->get<uint64_t>() != 0;
    case Json::value_t::number_float: return value_->get<double>() != 0;
    case Json::value_t::boolean: return value_->get<bool>();
    default: return false;
  }
}
