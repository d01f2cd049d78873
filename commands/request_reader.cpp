#include "commands/request_reader.h"

#include <charconv>
#include <cstdint>
#include <exception>
#include <limits>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;

// The root is level 1; every array element or object member is one deeper.
constexpr size_t kMaxDepth = 1000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string* out, uint32_t codePoint) {
  if (codePoint < 0x80) {
    out->push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

// from_chars reports both overflow and underflow as out of range; only
// overflow is an error, underflow reads as zero. The two are told apart by the
// decimal exponent of the first significant digit (they are ~600 decades apart).
bool MagnitudeAtLeastOne(std::string_view number) {
  size_t i = number.front() == '-' ? 1 : 0;
  int64_t leadExponent = 0;
  bool seenSignificant = false;
  bool inFraction = false;
  int64_t fractionPosition = 0;
  for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
    if (number[i] == '.') {
      inFraction = true;
      continue;
    }
    if (inFraction) ++fractionPosition;
    if (!seenSignificant && number[i] != '0') {
      seenSignificant = true;
      leadExponent = inFraction ? -fractionPosition : 0;
    } else if (seenSignificant && !inFraction) {
      ++leadExponent;
    }
  }
  if (!seenSignificant) return false;
  int64_t exponent = 0;
  if (i < number.size()) {
    ++i;
    bool negative = false;
    if (number[i] == '+' || number[i] == '-') negative = number[i++] == '-';
    for (; i < number.size(); ++i) {
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (number[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return leadExponent + exponent >= 0;
}

class RequestTextReader {
 public:
  explicit RequestTextReader(std::string_view text) : text_(text) {}

  std::optional<Json> Read();

 private:
  struct OpenContainer {
    Json value;
    std::string memberName;  // objects: the name of the member being read
  };

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }

  bool SkipBlank();
  bool ReadScalar(Json* out);
  bool ReadString(std::string* out);
  bool ReadHex4(uint32_t* out);
  bool ReadNumber(Json* out);
  bool ReadLiteral(std::string_view word);
  bool ReadMemberName(std::string* out);

  std::string_view text_;
  size_t pos_ = 0;
};

// White space and comments. False only for a /* comment without its end.
bool RequestTextReader::SkipBlank() {
  while (!AtEnd()) {
    const char c = Peek();
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++pos_;
    } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '*') {
      const size_t end = text_.find("*/", pos_ + 2);
      if (end == std::string_view::npos) return false;
      pos_ = end + 2;
    } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
      pos_ += 2;
      while (!AtEnd() && Peek() != '\n' && Peek() != '\r') ++pos_;
    } else {
      break;
    }
  }
  return true;
}

std::optional<Json> RequestTextReader::Read() {
  // Containers still open, outermost first: an explicit stack keeps deep
  // nesting off the call stack.
  std::vector<OpenContainer> open;
  Json value;
  for (;;) {
    // A value starts here.
    if (!SkipBlank() || AtEnd()) return std::nullopt;
    if (open.size() + 1 > kMaxDepth) return std::nullopt;
    if (Peek() == '[') {
      ++pos_;
      if (!SkipBlank()) return std::nullopt;
      if (AtEnd() || Peek() != ']') {
        open.push_back({Json::array(), {}});
        continue;
      }
      ++pos_;
      value = Json::array();
    } else if (Peek() == '{') {
      ++pos_;
      if (!SkipBlank()) return std::nullopt;
      if (AtEnd() || Peek() != '}') {
        open.push_back({Json::object(), {}});
        if (!ReadMemberName(&open.back().memberName)) return std::nullopt;
        continue;
      }
      ++pos_;
      value = Json::object();
    } else if (!ReadScalar(&value)) {
      return std::nullopt;
    }

    // A value is complete: store it in its container, then close every
    // container that ends right after it.
    for (;;) {
      if (open.empty()) return value;  // whatever follows the root is ignored
      OpenContainer& top = open.back();
      const bool isArray = top.value.is_array();
      if (isArray) {
        top.value.push_back(std::move(value));
      } else {
        top.value[top.memberName] = std::move(value);  // a repeated name: the last value wins
      }
      if (!SkipBlank() || AtEnd()) return std::nullopt;
      const char closer = isArray ? ']' : '}';
      bool closes = Peek() == closer;
      if (!closes) {
        if (Peek() != ',') return std::nullopt;
        ++pos_;
        if (!SkipBlank()) return std::nullopt;
        closes = !AtEnd() && Peek() == closer;  // a trailing comma
      }
      if (closes) {
        ++pos_;
        value = std::move(top.value);
        open.pop_back();
        continue;
      }
      if (!isArray && !ReadMemberName(&top.memberName)) return std::nullopt;
      break;
    }
  }
}

// `"name" :`, after white space.
bool RequestTextReader::ReadMemberName(std::string* out) {
  out->clear();
  if (!SkipBlank() || AtEnd() || Peek() != '"') return false;
  ++pos_;
  if (!ReadString(out)) return false;
  if (!SkipBlank() || AtEnd() || Peek() != ':') return false;
  ++pos_;
  return true;
}

bool RequestTextReader::ReadScalar(Json* out) {
  const char c = Peek();
  if (c == '"') {
    ++pos_;
    std::string text;
    if (!ReadString(&text)) return false;
    *out = std::move(text);
    return true;
  }
  if (c == '-' || IsDigit(c)) return ReadNumber(out);
  if (ReadLiteral("true")) {
    *out = true;
    return true;
  }
  if (ReadLiteral("false")) {
    *out = false;
    return true;
  }
  if (ReadLiteral("null")) {
    *out = nullptr;
    return true;
  }
  return false;
}

bool RequestTextReader::ReadLiteral(std::string_view word) {
  if (text_.substr(pos_, word.size()) != word) return false;
  pos_ += word.size();
  return true;
}

bool RequestTextReader::ReadHex4(uint32_t* out) {
  if (text_.size() - pos_ < 4) return false;
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    const int digit = HexDigitValue(text_[pos_ + i]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<uint32_t>(digit);
  }
  pos_ += 4;
  *out = value;
  return true;
}

// After the opening quote; consumes the closing one.
bool RequestTextReader::ReadString(std::string* out) {
  while (!AtEnd()) {
    const char c = text_[pos_++];
    if (c == '"') return true;
    if (c != '\\') {
      out->push_back(c);  // bytes as they come, control bytes and invalid UTF-8 too
      continue;
    }
    if (AtEnd()) return false;
    const char escape = text_[pos_++];
    switch (escape) {
      case '"': out->push_back('"'); break;
      case '\\': out->push_back('\\'); break;
      case '/': out->push_back('/'); break;
      case 'b': out->push_back('\b'); break;
      case 'f': out->push_back('\f'); break;
      case 'n': out->push_back('\n'); break;
      case 'r': out->push_back('\r'); break;
      case 't': out->push_back('\t'); break;
      case 'u': {
        uint32_t unit = 0;
        if (!ReadHex4(&unit)) return false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
          uint32_t low = 0;
          if (!ReadLiteral("\\u") || !ReadHex4(&low) || low < 0xDC00 || low > 0xDFFF) return false;
          unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(out, unit);
        break;
      }
      default:
        return false;
    }
  }
  return false;
}

// -? digits (. digits)? ([eE] [+-]? digits)? ; leading zeros are accepted.
bool RequestTextReader::ReadNumber(Json* out) {
  const size_t start = pos_;
  const bool negative = Peek() == '-';
  if (negative) ++pos_;
  auto skipDigits = [this] {
    const size_t from = pos_;
    while (!AtEnd() && IsDigit(Peek())) ++pos_;
    return pos_ > from;
  };
  const size_t digitsStart = pos_;
  if (!skipDigits()) return false;
  const size_t digitsEnd = pos_;
  bool integral = true;
  if (!AtEnd() && Peek() == '.') {
    ++pos_;
    integral = false;
    if (!skipDigits()) return false;
  }
  if (!AtEnd() && (Peek() == 'e' || Peek() == 'E')) {
    ++pos_;
    integral = false;
    if (!AtEnd() && (Peek() == '+' || Peek() == '-')) ++pos_;
    if (!skipDigits()) return false;
  }
  const std::string_view number = text_.substr(start, pos_ - start);

  if (integral) {
    // Magnitude in 64 unsigned bits; what does not fit falls through to a double.
    uint64_t magnitude = 0;
    bool fits = true;
    for (size_t i = digitsStart; i < digitsEnd && fits; ++i) {
      const uint64_t digit = static_cast<uint64_t>(text_[i] - '0');
      if (magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10) {
        fits = false;
      } else {
        magnitude = magnitude * 10 + digit;
      }
    }
    constexpr uint64_t kInt64Max = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    if (fits && negative && magnitude <= kInt64Max + 1) {
      *out = magnitude == kInt64Max + 1 ? std::numeric_limits<int64_t>::min()
                                        : -static_cast<int64_t>(magnitude);
      return true;
    }
    if (fits && !negative) {
      if (magnitude <= kInt64Max) {
        *out = static_cast<int64_t>(magnitude);
      } else {
        *out = magnitude;
      }
      return true;
    }
  }

  double real = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), real);
  if (error == std::errc::result_out_of_range) {
    if (MagnitudeAtLeastOne(number)) return false;  // overflows to infinity
    real = negative ? -0.0 : 0.0;
  } else if (error != std::errc() || end != number.data() + number.size()) {
    return false;
  }
  *out = real;
  return true;
}

}  // namespace

std::optional<nlohmann::ordered_json> ParseRequestText(std::string_view text) {
  try {
    return RequestTextReader(text).Read();
  } catch (const std::exception&) {
    return std::nullopt;  // out of memory
  }
}
