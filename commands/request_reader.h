#pragma once
// Parser for the page's request text. It reads what the page's JSON reader of
// record accepts at its default settings: /* */ and // comments, a trailing
// comma in an object or array, any value as the root, and text after the first
// complete value is ignored. Duplicate member names keep the last value (at the
// first one's position). Strings are taken byte for byte apart from escapes
// (\uXXXX and surrogate pairs become UTF-8); raw control bytes and invalid
// UTF-8 are kept. Integers stay integers (signed, or unsigned above INT64_MAX);
// a number with a fraction or exponent, or too large for 64 bits, is a double.
// Nesting deeper than 1000 levels is refused without deep recursion.

#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

// nullopt when the text does not parse.
std::optional<nlohmann::ordered_json> ParseRequestText(std::string_view text);
