#pragma once
// Base64 with the standard alphabet and '=' padding (RFC 4648, section 4).
// The DevTools protocol carries binary data (screencast frames, several MB
// each) this way, so decoding is table-driven and writes in place.

#include <string>
#include <string_view>

std::string Base64Encode(std::string_view bytes);

// Replaces out with the decoded bytes and returns true. Returns false (out
// then holds nothing useful) for a length that is not a multiple of four, any
// character outside the alphabet (whitespace included) and padding anywhere
// but the end.
bool Base64Decode(std::string_view text, std::string& out);
