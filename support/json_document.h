#pragma once
// The JSON document model of the settings and list files: nlohmann's ordered
// JSON (members keep their insertion order), read and set with the forgiving
// member rules every manager relies on.

#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace Json {

using Document = nlohmann::ordered_json;

// A string member that is absent, or not a string, reads as "".
std::string GetString(const Document& object, std::string_view name);

// A number member that is absent, or not a number, reads as 0.
int64_t GetNumber(const Document& object, std::string_view name);

// An array member; nullptr when absent or not an array (count it as empty).
const Document* GetArray(const Document& object, std::string_view name);
size_t ArrayCount(const Document* array);

// Sets a string member. Text that is not valid UTF-8 is refused: the member
// keeps its previous value (or stays absent) and the result is false.
bool SetString(Document& object, std::string_view name, std::string_view utf8);

void SetNumber(Document& object, std::string_view name, int64_t value);

// True when the whole text is valid UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace Json
