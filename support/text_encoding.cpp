#include "support/text_encoding.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

// One code page to another through UTF-16. The input ends at its first zero
// byte; so does the output.
std::string Recode(const std::string& text, UINT from, UINT to) {
  const char* source = text.c_str();
  const int sourceLength = static_cast<int>(strlen(source));
  const int units = MultiByteToWideChar(from, 0, source, -1, nullptr, 0);
  if (units <= 0) return std::string();
  std::vector<wchar_t> wide(static_cast<size_t>(units) + 1, L'\0');
  MultiByteToWideChar(from, 0, source, sourceLength, wide.data(), units);

  const int bytes = WideCharToMultiByte(to, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::vector<char> narrow(static_cast<size_t>(bytes) + 1, '\0');
  WideCharToMultiByte(to, 0, wide.data(), units, narrow.data(), bytes, nullptr, nullptr);
  return std::string(narrow.data());
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string Utf8ToAnsi(const std::string& text) { return Recode(text, CP_UTF8, CP_ACP); }

std::string AnsiToUtf8(const std::string& text) { return Recode(text, CP_ACP, CP_UTF8); }

int DecodeUtf8Char(int* out, const unsigned char* text, size_t available) {
  if (available == 0) return -2;
  const unsigned char lead = text[0];
  if (lead < 0x80) {
    *out = lead;
    return 1;
  }
  int length;
  int codePoint;
  if (lead < 0xC2) return -1;  // a continuation byte, or an overlong two-byte form
  if (lead < 0xE0) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if (lead < 0xF0) {
    length = 3;
    codePoint = lead & 0x0F;
  } else if (lead < 0xF5) {
    length = 4;
    codePoint = lead & 0x07;
  } else {
    return -1;  // nothing above U+10FFFF
  }

  // The second byte's range narrows for the leads that could otherwise spell
  // an overlong form, a surrogate or a code point above U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;

  for (int i = 1; i < length; ++i) {
    if (static_cast<size_t>(i) >= available) return -2;
    const unsigned char byte = text[i];
    if (!IsContinuation(byte)) return -1;
    if (i == 1 && (byte < low || byte > high)) return -1;
    codePoint = (codePoint << 6) | (byte & 0x3F);
  }
  *out = codePoint;
  return length;
}

int Utf8ToUtf16Units(wchar_t* destination, unsigned capacity, const char* text) {
  if (capacity < 2) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t remaining = strlen(text);
  unsigned written = 0;
  while (written < capacity - 1 && remaining > 0) {
    int codePoint = 0;
    const int length = DecodeUtf8Char(&codePoint, bytes, remaining);
    if (length < 0) return 0;
    destination[written++] = static_cast<wchar_t>(codePoint & 0xFFFF);
    bytes += length;
    remaining -= static_cast<size_t>(length);
  }
  if (remaining > 0) return 0;  // no room for the rest: there is no terminated text to give
  destination[written] = L'\0';
  return static_cast<int>(written);
}
