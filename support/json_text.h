#pragma once
// Text form of the settings and list files.
//
// Parsing: one JSON value, white space allowed around it; anything else after
// it (a zero byte too) is refused, and so is a byte-order mark (JsonFile::Read
// skips one before parsing). "-0" reads as 0. Numbers are 64-bit
// signed integers only: a fraction, an exponent, a leading zero or a value
// outside int64 makes the whole text invalid, as do nesting deeper than 2048
// levels, invalid UTF-8 and duplicate member names. \u escapes and surrogate
// pairs are decoded into UTF-8.
//
// Writing: pretty-printed with 4 spaces per level ("name": value), `{}` and
// `[]` when empty, strings with \" \\ \/ \b \f \n \r \t and \u00xx escapes and
// every other byte unchanged, integers in decimal. Line ends are "\n" here;
// JsonFile writes them as CR LF.

#include <optional>
#include <string>
#include <string_view>

#include "support/json_document.h"

namespace Json {

std::optional<Document> Parse(std::string_view text);

std::string SerializePretty(const Document& document);

// The same serialisation on one line, without any white space.
std::string SerializeCompact(const Document& document);

}  // namespace Json
