#include "tools/standins/common/uuid.h"

#include <windows.h>
// bcrypt.h needs the types of windows.h before it.
#include <bcrypt.h>

#include <array>
#include <cstdint>
#include <random>

#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

std::array<std::uint8_t, 16> RandomBytes() {
  std::array<std::uint8_t, 16> bytes{};
  if (BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(bytes.size()), BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
    std::random_device fallback;
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(fallback());
  }
  return bytes;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

}  // namespace

std::string NewRandomUuid() {
  std::array<std::uint8_t, 16> bytes = RandomBytes();
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
    text.push_back(kHex[bytes[i] >> 4]);
    text.push_back(kHex[bytes[i] & 0x0F]);
  }
  return text;
}

std::string CanonicalUuid(std::string_view text) {
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
  if (text.size() != 36) return std::string();
  const std::string lower = AsciiLower(text);
  for (size_t i = 0; i < lower.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? lower[i] != '-' : !IsHexDigit(lower[i])) return std::string();
  }
  return lower;
}

}  // namespace standins
