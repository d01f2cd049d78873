#pragma once
// The styled reply text the page's JSON reader of record expects:
//   - object members in ascending byte order of their names, one per line,
//     indented three spaces per level, written `"name" : value`, with a comma
//     after every member but the last; a nested object or array opens on the
//     line of its member name; `{}` and `[]` when empty;
//   - arrays whose values are all short scalars on one line as `[ a, b ]`
//     (up to the 74-column margin), otherwise one value per line;
//   - null, true, false, integers in decimal, reals with 17 significant digits;
//   - strings with \" \\ \b \f \n \r \t, every other byte below 0x20 and every
//     character above 0x7F as \u with four lower-case hex digits (a surrogate
//     pair above U+FFFF, \ufffd for each byte of an invalid UTF-8 sequence);
//     the slash is not escaped. The text is plain ASCII;
//   - one line feed after the root.

#include <string>

#include <nlohmann/json.hpp>

std::string WriteStyledReply(const nlohmann::ordered_json& root);

// A real as the reply writes it: 17 significant digits ("%.17g"), with ".0"
// added when that text would read back as an integer; NaN is "null" and the
// infinities are "1e+9999" and "-1e+9999".
std::string RealToText(double value);
