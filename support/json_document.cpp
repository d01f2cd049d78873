#include "support/json_document.h"

#include "support/json_number.h"
#include "support/text_encoding.h"

namespace Json {

namespace {

// The member's value, or nullptr when `object` is no object or lacks it.
const Document* FindMember(const Document& object, std::string_view name) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(name);
  return found == object.end() ? nullptr : &*found;
}

// Member writes follow nlohmann's rule that a null value turns into an object;
// any other non-object stays as it is (operator[] would throw on it).
bool CanHoldMembers(const Document& object) { return object.is_object() || object.is_null(); }

}  // namespace

std::string GetString(const Document& object, std::string_view name) {
  const Document* member = FindMember(object, name);
  if (member == nullptr || !member->is_string()) return std::string();
  return member->get_ref<const std::string&>();
}

int64_t GetNumber(const Document& object, std::string_view name) {
  const Document* member = FindMember(object, name);
  if (member == nullptr || !member->is_number()) return 0;
  return NumberAsInt64(*member);
}

const Document* GetArray(const Document& object, std::string_view name) {
  const Document* member = FindMember(object, name);
  return member != nullptr && member->is_array() ? member : nullptr;
}

size_t ArrayCount(const Document* array) {
  return array != nullptr && array->is_array() ? array->size() : 0;
}

bool SetString(Document& object, std::string_view name, std::string_view utf8) {
  if (!IsValidUtf8(utf8) || !CanHoldMembers(object)) return false;
  object[std::string(name)] = std::string(utf8);
  return true;
}

void SetNumber(Document& object, std::string_view name, int64_t value) {
  if (!CanHoldMembers(object)) return;
  object[std::string(name)] = value;
}

bool IsValidUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  size_t remaining = text.size();
  while (remaining > 0) {
    int codePoint = 0;
    const int length = DecodeUtf8Char(&codePoint, bytes, remaining);
    if (length < 0) return false;
    bytes += length;
    remaining -= static_cast<size_t>(length);
  }
  return true;
}

}  // namespace Json
