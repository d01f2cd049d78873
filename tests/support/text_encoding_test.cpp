#include "support/text_encoding.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct DecodeCase {
  const char* bytes;
  size_t available;
  int length;      // expected result
  int codePoint;   // expected code point when length > 0
};

// Every boundary of RFC 3629, on both sides.
const DecodeCase kDecodeCases[] = {
    {"\x00", 1, 1, 0x00},                     // NUL is a one-byte sequence
    {"\x7F", 1, 1, 0x7F},                     // last one-byte
    {"\x80", 1, -1, 0},                       // lone continuation byte
    {"\xC1\xBF", 2, -1, 0},                   // overlong two-byte form of U+007F
    {"\xC2\x80", 2, 2, 0x80},                 // first two-byte
    {"\xDF\xBF", 2, 2, 0x7FF},                // last two-byte
    {"\xC2\x41", 2, -1, 0},                   // second byte not a continuation
    {"\xC2", 1, -2, 0},                       // cut short
    {"\xE0\x9F\xBF", 3, -1, 0},               // overlong three-byte form of U+07FF
    {"\xE0\xA0\x80", 3, 3, 0x800},            // first three-byte
    {"\xED\x9F\xBF", 3, 3, 0xD7FF},           // last before the surrogates
    {"\xED\xA0\x80", 3, -1, 0},               // U+D800, a surrogate
    {"\xED\xBF\xBF", 3, -1, 0},               // U+DFFF, a surrogate
    {"\xEE\x80\x80", 3, 3, 0xE000},           // first after the surrogates
    {"\xEF\xBF\xBF", 3, 3, 0xFFFF},           // last three-byte
    {"\xE4\xB8", 2, -2, 0},                   // cut short
    {"\xE4\x41\x80", 3, -1, 0},               // bad second byte
    {"\xE4\xB8\x41", 3, -1, 0},               // bad third byte
    {"\xF0\x8F\xBF\xBF", 4, -1, 0},           // overlong four-byte form of U+FFFF
    {"\xF0\x90\x80\x80", 4, 4, 0x10000},      // first four-byte
    {"\xF4\x8F\xBF\xBF", 4, 4, 0x10FFFF},     // last code point
    {"\xF4\x90\x80\x80", 4, -1, 0},           // above U+10FFFF
    {"\xF5\x80\x80\x80", 4, -1, 0},           // lead byte above F4
    {"\xFF", 1, -1, 0},                       // never valid
    {"\xF0\x90\x80", 3, -2, 0},               // cut short
    {"\xF0\x90\x80\x41", 4, -1, 0},           // bad fourth byte
    {"", 0, -2, 0},                           // nothing available
};

TEST(DecodeUtf8Char, FollowsRfc3629AtEveryBoundary) {
  for (const DecodeCase& c : kDecodeCases) {
    int codePoint = -7;
    const int length = DecodeUtf8Char(&codePoint, reinterpret_cast<const unsigned char*>(c.bytes), c.available);
    EXPECT_EQ(length, c.length) << "bytes of case " << (&c - kDecodeCases);
    if (c.length > 0) {
      EXPECT_EQ(codePoint, c.codePoint) << "case " << (&c - kDecodeCases);
    }
  }
}

struct UnitsCase {
  const char* text;
  unsigned capacity;
  int result;
  std::wstring units;  // expected content when result > 0 or the text is empty
};

const UnitsCase kUnitsCases[] = {
    {"abc", 5, 3, L"abc"},                        // plain ASCII
    {"", 2, 0, L""},                              // empty text: just the terminator
    {"\xE4\xB8\xAD", 5, 1, L"\x4E2D"},            // one unit per BMP character
    {"\xF0\x9F\x98\x80", 6, 1, L"\xF600"},        // above U+FFFF: only the low 16 bits
    {"abc", 1, 0, L""},                           // no room for anything
    {"abc", 0, 0, L""},                           // no room at all
    {"a\xC3", 4, 0, L""},                         // cut-short sequence
    {"a\x80z", 5, 0, L""},                        // invalid sequence
    {"abcd", 4, 0, L""},                          // does not fit with its terminator
    {"abc", 4, 3, L"abc"},                        // fits exactly
};

TEST(Utf8ToUtf16Units, WritesOneUnitPerCodePoint) {
  for (const UnitsCase& c : kUnitsCases) {
    wchar_t buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    const int result = Utf8ToUtf16Units(buffer, c.capacity, c.text);
    EXPECT_EQ(result, c.result) << "case " << (&c - kUnitsCases);
    if (result > 0 || (c.capacity >= 2 && c.text[0] == '\0')) {
      EXPECT_EQ(std::wstring(buffer), c.units) << "case " << (&c - kUnitsCases);
    }
  }
}

TEST(Utf8ToUtf16Units, LeavesTheBufferAloneWhenCapacityIsBelowTwo) {
  wchar_t buffer[2] = {L'#', L'#'};
  EXPECT_EQ(Utf8ToUtf16Units(buffer, 1, "a"), 0);
  EXPECT_EQ(buffer[0], L'#');
}

const char kChineseUtf8[] = "\xE5\x85\x8B\xE9\x9A\x86";  // 克隆
const char kChineseGbk[] = "\xBF\xCB\xC2\xA1";
const char kEAcuteUtf8[] = "\xC3\xA9";                  // é

TEST(CodePageConversion, FollowsTheSystemAnsiCodePage) {
  const UINT acp = GetACP();
  ASSERT_TRUE(acp == 936 || acp == 1252) << "the tests run under code page 936 or 1252, not " << acp;
  if (acp == 936) {
    EXPECT_EQ(Utf8ToAnsi(kChineseUtf8), kChineseGbk);
    EXPECT_EQ(AnsiToUtf8(kChineseGbk), kChineseUtf8);
  } else {
    EXPECT_EQ(Utf8ToAnsi(kChineseUtf8), "??");  // not in the code page: its default character
    EXPECT_EQ(Utf8ToAnsi(kEAcuteUtf8), "\xE9");
    EXPECT_EQ(AnsiToUtf8("\xE9"), kEAcuteUtf8);
  }
}

TEST(CodePageConversion, KeepsAsciiAndStopsAtZero) {
  EXPECT_EQ(Utf8ToAnsi("C:\\VMs\\clone 1\\"), "C:\\VMs\\clone 1\\");
  EXPECT_EQ(AnsiToUtf8("C:\\VMs\\"), "C:\\VMs\\");
  EXPECT_EQ(Utf8ToAnsi(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(AnsiToUtf8(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(Utf8ToAnsi(""), "");
  // Invalid UTF-8 becomes U+FFFD, which neither code page holds.
  EXPECT_EQ(Utf8ToAnsi("a\xFFz"), "a?z");
}

}  // namespace
