#include "engine/net/sha1.h"

#include <cstring>

namespace {

constexpr uint32_t RotateLeft(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

uint32_t ReadBigEndian32(const uint8_t* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
}

void ProcessBlock(std::array<uint32_t, 5>& state, const uint8_t* block) {
  uint32_t words[80];
  for (int i = 0; i < 16; ++i) words[i] = ReadBigEndian32(block + 4 * i);
  for (int i = 16; i < 80; ++i) words[i] = RotateLeft(words[i - 3] ^ words[i - 8] ^ words[i - 14] ^ words[i - 16], 1);

  uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
  for (int i = 0; i < 80; ++i) {
    uint32_t mixed;
    uint32_t constant;
    if (i < 20) {
      mixed = (b & c) | (~b & d);
      constant = 0x5A827999;
    } else if (i < 40) {
      mixed = b ^ c ^ d;
      constant = 0x6ED9EBA1;
    } else if (i < 60) {
      mixed = (b & c) | (b & d) | (c & d);
      constant = 0x8F1BBCDC;
    } else {
      mixed = b ^ c ^ d;
      constant = 0xCA62C1D6;
    }
    const uint32_t next = RotateLeft(a, 5) + mixed + e + constant + words[i];
    e = d;
    d = c;
    c = RotateLeft(b, 30);
    b = a;
    a = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
}

}  // namespace

std::array<uint8_t, 20> Sha1(std::string_view data) {
  std::array<uint32_t, 5> state = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  const size_t size = data.size();

  size_t offset = 0;
  for (; offset + 64 <= size; offset += 64) ProcessBlock(state, bytes + offset);

  // The tail: the rest of the data, a 1 bit, zeros, and the length in bits
  // (big-endian) closing the last block; one or two blocks.
  uint8_t tail[128] = {};
  const size_t rest = size - offset;
  if (rest != 0) std::memcpy(tail, bytes + offset, rest);
  tail[rest] = 0x80;
  const size_t tailSize = rest + 1 + 8 <= 64 ? 64 : 128;
  const uint64_t bitCount = uint64_t{size} * 8;
  for (int i = 0; i < 8; ++i) tail[tailSize - 1 - i] = static_cast<uint8_t>(bitCount >> (8 * i));
  for (size_t block = 0; block < tailSize; block += 64) ProcessBlock(state, tail + block);

  std::array<uint8_t, 20> digest{};
  for (int i = 0; i < 5; ++i) {
    for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<uint8_t>(state[i] >> (24 - 8 * j));
  }
  return digest;
}
