#pragma once
// UTF-8 <-> UTF-16 for the launch code: its callers speak UTF-8 (as the
// DevTools protocol does), the Win32 "W" functions it calls speak UTF-16.

#include <string>
#include <string_view>

// Invalid UTF-8 becomes U+FFFD.
std::wstring Utf8ToUtf16(std::string_view text);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::wstring_view text);
