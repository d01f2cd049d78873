#include "support/json_text.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "support/json_number.h"

namespace Json {

namespace {

constexpr size_t kMaxDepth = 2048;

// Builds the document from nlohmann's (iterative) SAX parser on a stack of its
// own, so no input can recurse deeply, and refuses what the file rules forbid
// and nlohmann would accept: fractions and exponents, integers beyond int64,
// duplicate member names and nesting deeper than kMaxDepth.
class DocumentBuilder {
 public:
  using number_integer_t = Document::number_integer_t;
  using number_unsigned_t = Document::number_unsigned_t;
  using number_float_t = Document::number_float_t;
  using string_t = Document::string_t;
  using binary_t = Document::binary_t;

  bool null() { return AddValue(Document()); }
  bool boolean(bool value) { return AddValue(Document(value)); }
  bool number_integer(number_integer_t value) { return AddValue(Document(value)); }
  bool number_unsigned(number_unsigned_t value) {
    if (value > static_cast<number_unsigned_t>(INT64_MAX)) return false;
    return AddValue(Document(static_cast<number_integer_t>(value)));
  }
  // nlohmann also lands here for integers that overflow int64.
  bool number_float(number_float_t, const string_t&) { return false; }
  bool string(string_t& value) { return AddValue(Document(std::move(value))); }
  bool binary(binary_t&) { return false; }

  bool start_object(size_t) { return Open(true); }
  bool key(string_t& name) {
    open_.back().names.push_back(std::move(name));
    return true;
  }
  bool end_object();

  bool start_array(size_t) { return Open(false); }
  bool end_array();

  bool parse_error(size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

  std::optional<Document> TakeResult() { return std::move(result_); }

 private:
  // An array or object still being read: its finished members so far.
  struct OpenContainer {
    bool isObject = false;
    std::vector<std::string> names;  // objects only, one per value
    std::vector<Document> values;
  };

  bool Open(bool isObject) {
    if (open_.size() >= kMaxDepth) return false;
    open_.push_back(OpenContainer{isObject, {}, {}});
    return true;
  }

  bool AddValue(Document value) {
    if (open_.empty()) {
      result_ = std::move(value);
    } else {
      open_.back().values.push_back(std::move(value));
    }
    return true;
  }

  std::vector<OpenContainer> open_;
  std::optional<Document> result_;
};

bool DocumentBuilder::end_object() {
  OpenContainer container = std::move(open_.back());
  open_.pop_back();

  std::vector<std::string_view> sorted(container.names.begin(), container.names.end());
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) return false;

  // Names are known to be unique, so members go straight to the back of the
  // ordered map instead of through its linear look-up per insertion.
  Document object = Document::object();
  auto& members = object.get_ref<Document::object_t&>();
  members.reserve(container.values.size());
  for (size_t i = 0; i < container.values.size(); ++i) {
    members.Container::emplace_back(std::move(container.names[i]), std::move(container.values[i]));
  }
  return AddValue(std::move(object));
}

bool DocumentBuilder::end_array() {
  OpenContainer container = std::move(open_.back());
  open_.pop_back();
  Document array = Document::array();
  array.get_ref<Document::array_t&>() = std::move(container.values);
  return AddValue(std::move(array));
}

void AppendQuoted(std::string& out, const std::string& text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '/': out += "\\/"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0x0F];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

// Values that cannot come from Parse (binary, discarded) are written as null.
void AppendScalar(std::string& out, const Document& value) {
  switch (value.type()) {
    case nlohmann::json::value_t::string:
      AppendQuoted(out, value.get_ref<const std::string&>());
      break;
    case nlohmann::json::value_t::boolean:
      out += value.get<bool>() ? "true" : "false";
      break;
    case nlohmann::json::value_t::number_integer:
    case nlohmann::json::value_t::number_unsigned:
    case nlohmann::json::value_t::number_float:
      out += std::to_string(NumberAsInt64(value));
      break;
    default:
      out += "null";
  }
}

class Writer {
 public:
  explicit Writer(bool pretty) : pretty_(pretty) {}

  // Walks the document on a stack of its own: documents built in code have
  // no depth limit, and the program's stack must not decide how deep is fine.
  std::string Write(const Document& document) {
    Begin(document);
    while (!open_.empty()) {
      OpenContainer& container = open_.back();
      if (container.next == container.value->size()) {
        const bool isObject = container.value->is_object();
        open_.pop_back();
        NewLine();
        out_ += isObject ? '}' : ']';
        continue;
      }
      const size_t index = container.next++;
      if (index > 0) out_ += ',';
      NewLine();
      if (container.value->is_object()) {
        const auto& member = *(container.value->get_ref<const Document::object_t&>().begin() + index);
        AppendQuoted(out_, member.first);
        out_ += pretty_ ? ": " : ":";
        Begin(member.second);  // may grow open_: `container` is not used after this
      } else {
        Begin((*container.value)[index]);
      }
    }
    return std::move(out_);
  }

 private:
  struct OpenContainer {
    const Document* value;
    size_t next;
  };

  void Begin(const Document& value) {
    if (!value.is_structured()) {
      AppendScalar(out_, value);
    } else if (value.empty()) {
      out_ += value.is_object() ? "{}" : "[]";
    } else {
      out_ += value.is_object() ? '{' : '[';
      open_.push_back(OpenContainer{&value, 0});
    }
  }

  // A line end and the indentation of the current level (pretty form only).
  void NewLine() {
    if (!pretty_) return;
    out_ += '\n';
    out_.append(open_.size() * 4, ' ');
  }

  const bool pretty_;
  std::string out_;
  std::vector<OpenContainer> open_;
};

}  // namespace

std::optional<Document> Parse(std::string_view text) {
  // nlohmann takes a zero byte for the end of the input (ignoring the rest)
  // and skips a leading byte-order mark; neither belongs in the text here.
  // A zero byte inside a string must be written \u0000 anyway.
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  if (text.starts_with("\xEF\xBB\xBF")) return std::nullopt;
  try {
    DocumentBuilder builder;
    if (!Document::sax_parse(text.begin(), text.end(), &builder)) return std::nullopt;
    return builder.TakeResult();
  } catch (...) {
    // Only running out of memory can get here.
    return std::nullopt;
  }
}

std::string SerializePretty(const Document& document) { return Writer(true).Write(document); }

std::string SerializeCompact(const Document& document) { return Writer(false).Write(document); }

}  // namespace Json
