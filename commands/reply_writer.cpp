#include "commands/reply_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "support/text_encoding.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr size_t kIndentSize = 3;
constexpr size_t kRightMargin = 74;

void AppendHex16(std::string* out, unsigned unit) {
  static const char kDigits[] = "0123456789abcdef";
  *out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out->push_back(kDigits[(unit >> shift) & 0xF]);
}

// The text is ASCII whatever the string holds: everything outside printable
// ASCII becomes a \u escape, and bytes that are not UTF-8 become U+FFFD one by one.
std::string QuotedString(const std::string& text) {
  std::string out = "\"";
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char byte = bytes[i];
    switch (byte) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) {
          AppendHex16(&out, byte);
        } else if (byte < 0x80) {
          out.push_back(static_cast<char>(byte));
        } else {
          int codePoint = 0;
          const int length = DecodeUtf8Char(&codePoint, bytes + i, text.size() - i);
          if (length < 0) {
            AppendHex16(&out, 0xFFFD);
          } else if (codePoint < 0x10000) {
            AppendHex16(&out, static_cast<unsigned>(codePoint));
            i += static_cast<size_t>(length) - 1;
          } else {
            const unsigned offset = static_cast<unsigned>(codePoint) - 0x10000;
            AppendHex16(&out, 0xD800 + (offset >> 10));
            AppendHex16(&out, 0xDC00 + (offset & 0x3FF));
            i += static_cast<size_t>(length) - 1;
          }
        }
        break;
    }
    ++i;
  }
  out += '"';
  return out;
}

bool IsNonEmptyContainer(const Json& value) {
  return (value.is_array() || value.is_object()) && !value.empty();
}

// Text of a value that holds no other values: a scalar or an empty container.
std::string LeafText(const Json& value) {
  switch (value.type()) {
    case Json::value_t::number_integer: return std::to_string(value.get<int64_t>());
    case Json::value_t::number_unsigned: return std::to_string(value.get<uint64_t>());
    case Json::value_t::number_float: return RealToText(value.get<double>());
    case Json::value_t::boolean: return value.get<bool>() ? "true" : "false";
    case Json::value_t::string: return QuotedString(value.get_ref<const std::string&>());
    case Json::value_t::array: return "[]";
    case Json::value_t::object: return "{}";
    default: return "null";
  }
}

// Lays the reply out as the page's reader of record writes it (its "styled" form).
class StyledReplyWriter {
 public:
  std::string Write(const Json& root) {
    WriteValue(root);
    document_ += '\n';
    return std::move(document_);
  }

 private:
  void WriteValue(const Json& value) {
    if (value.is_array() && !value.empty()) {
      WriteArray(value);
    } else if (value.is_object() && !value.empty()) {
      WriteObject(value);
    } else {
      document_ += LeafText(value);
    }
  }

  void WriteObject(const Json& object) {
    // Members go out in byte order of their names, whatever order they were set in.
    std::vector<std::pair<const std::string*, const Json*>> members;
    members.reserve(object.size());
    for (auto it = object.begin(); it != object.end(); ++it) members.emplace_back(&it.key(), &it.value());
    std::sort(members.begin(), members.end(),
              [](const auto& a, const auto& b) { return *a.first < *b.first; });

    WriteWithIndent("{");
    Indent();
    for (size_t i = 0; i < members.size(); ++i) {
      WriteWithIndent(QuotedString(*members[i].first));
      document_ += " : ";
      WriteValue(*members[i].second);
      if (i + 1 < members.size()) document_ += ',';
    }
    Unindent();
    WriteWithIndent("}");
  }

  void WriteArray(const Json& array) {
    const size_t size = array.size();
    // Short arrays of leaves share one line; their texts are rendered up front
    // to measure it.
    bool multiline = size * 3 >= kRightMargin ||
                     std::any_of(array.begin(), array.end(), IsNonEmptyContainer);
    std::vector<std::string> leaves;
    if (!multiline) {
      size_t lineLength = 4 + (size - 1) * 2;  // "[ " + ", " between + " ]"
      for (const Json& element : array) {
        leaves.push_back(LeafText(element));
        lineLength += leaves.back().size();
      }
      multiline = lineLength >= kRightMargin;
    }

    if (!multiline) {
      document_ += "[ ";
      for (size_t i = 0; i < size; ++i) {
        if (i > 0) document_ += ", ";
        document_ += leaves[i];
      }
      document_ += " ]";
      return;
    }

    WriteWithIndent("[");
    Indent();
    for (size_t i = 0; i < size; ++i) {
      if (!leaves.empty()) {
        WriteWithIndent(leaves[i]);
      } else {
        WriteIndent();
        WriteValue(array[i]);
      }
      if (i + 1 < size) document_ += ',';
    }
    Unindent();
    WriteWithIndent("]");
  }

  // A new line at the current indent, except right after "name : ", where a
  // nested object or array opens on the member's own line.
  void WriteIndent() {
    if (!document_.empty()) {
      const char last = document_.back();
      if (last == ' ') return;
      if (last != '\n') document_ += '\n';
    }
    document_ += indent_;
  }

  void WriteWithIndent(const std::string& text) {
    WriteIndent();
    document_ += text;
  }

  void Indent() { indent_.append(kIndentSize, ' '); }
  void Unindent() { indent_.resize(indent_.size() - kIndentSize); }

  std::string document_;
  std::string indent_;
};

}  // namespace

std::string RealToText(double value) {
  if (std::isnan(value)) return "null";
  if (std::isinf(value)) return value > 0 ? "1e+9999" : "-1e+9999";
  // to_chars with a precision is "%.17g" without the locale's decimal point.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, 17);
  std::string text(buffer, result.ptr);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

std::string WriteStyledReply(const nlohmann::ordered_json& root) {
  return StyledReplyWriter().Write(root);
}
