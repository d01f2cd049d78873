#include "tools/standins/common/text_codec.h"

#include <windows.h>

namespace standins {

std::wstring Utf8ToWide(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = static_cast<int>(utf8.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), units);
  return wide;
}

namespace {

std::string WideToCodePage(std::wstring_view wide, UINT codePage) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const int bytes = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string narrow(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

}  // namespace

std::string WideToUtf8(std::wstring_view wide) { return WideToCodePage(wide, CP_UTF8); }

std::string Utf8ToAnsiCodePage(std::string_view utf8) { return WideToCodePage(Utf8ToWide(utf8), CP_ACP); }

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace standins
