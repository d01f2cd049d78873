#include "engine/net/base64.h"

#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Character -> 6-bit value; kInvalid for everything outside the alphabet
// ('=' included: padding is handled apart, at the end only).
constexpr uint8_t kInvalid = 0xFF;
constexpr std::array<uint8_t, 256> MakeDecodeTable() {
  std::array<uint8_t, 256> table{};
  for (auto& entry : table) entry = kInvalid;
  for (uint8_t value = 0; value < 64; ++value) table[static_cast<uint8_t>(kAlphabet[value])] = value;
  return table;
}
constexpr std::array<uint8_t, 256> kDecodeTable = MakeDecodeTable();

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string text((bytes.size() + 2) / 3 * 4, '\0');
  const auto* in = reinterpret_cast<const uint8_t*>(bytes.data());
  char* out = text.data();
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t group = (uint32_t{in[i]} << 16) | (uint32_t{in[i + 1]} << 8) | in[i + 2];
    *out++ = kAlphabet[group >> 18];
    *out++ = kAlphabet[(group >> 12) & 0x3F];
    *out++ = kAlphabet[(group >> 6) & 0x3F];
    *out++ = kAlphabet[group & 0x3F];
  }
  const size_t rest = bytes.size() - i;
  if (rest != 0) {
    const uint32_t group = (uint32_t{in[i]} << 16) | (rest == 2 ? uint32_t{in[i + 1]} << 8 : 0);
    *out++ = kAlphabet[group >> 18];
    *out++ = kAlphabet[(group >> 12) & 0x3F];
    *out++ = rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
    *out++ = '=';
  }
  return text;
}

bool Base64Decode(std::string_view text, std::string& out) {
  if (text.size() % 4 != 0) return false;
  size_t padding = 0;
  if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;

  out.resize(text.size() / 4 * 3 - padding);
  const auto* in = reinterpret_cast<const uint8_t*>(text.data());
  auto* write = reinterpret_cast<uint8_t*>(out.data());

  // Whole groups, the padded last one apart. One check per group: every
  // valid value fits in 6 bits, kInvalid does not.
  const size_t fullGroupsEnd = padding == 0 ? text.size() : text.size() - 4;
  for (size_t i = 0; i < fullGroupsEnd; i += 4) {
    const uint32_t a = kDecodeTable[in[i]], b = kDecodeTable[in[i + 1]];
    const uint32_t c = kDecodeTable[in[i + 2]], d = kDecodeTable[in[i + 3]];
    if ((a | b | c | d) & 0xC0) return false;
    const uint32_t group = (a << 18) | (b << 12) | (c << 6) | d;
    *write++ = static_cast<uint8_t>(group >> 16);
    *write++ = static_cast<uint8_t>(group >> 8);
    *write++ = static_cast<uint8_t>(group);
  }
  if (padding != 0) {
    const uint8_t* last = in + fullGroupsEnd;
    const uint32_t a = kDecodeTable[last[0]], b = kDecodeTable[last[1]];
    const uint32_t c = padding == 1 ? kDecodeTable[last[2]] : 0;
    if ((a | b | c) & 0xC0) return false;
    const uint32_t group = (a << 18) | (b << 12) | (c << 6);
    *write++ = static_cast<uint8_t>(group >> 16);
    if (padding == 1) *write++ = static_cast<uint8_t>(group >> 8);
  }
  return true;
}
