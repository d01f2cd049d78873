#include "engine/net/websocket_frame.h"

#include <cstring>

namespace {

// Copies size bytes from source to target, XOR-ed with the mask key that
// repeats every four bytes from source[0] on; eight bytes at a time, since
// screencast acknowledgements are small but script results can be large.
void CopyMasked(char* target, const char* source, size_t size, const WebSocketMaskKey& maskKey) {
  uint8_t pattern[8];
  for (int i = 0; i < 8; ++i) pattern[i] = maskKey[i % 4];
  uint64_t wideMask;
  std::memcpy(&wideMask, pattern, sizeof wideMask);

  size_t i = 0;
  for (; i + 8 <= size; i += 8) {
    uint64_t word;
    std::memcpy(&word, source + i, sizeof word);
    word ^= wideMask;
    std::memcpy(target + i, &word, sizeof word);
  }
  for (; i < size; ++i) target[i] = static_cast<char>(source[i] ^ maskKey[i % 4]);
}

}  // namespace

void AppendMaskedFrame(std::string& out, WebSocketOpcode opcode, std::string_view payload,
                       const WebSocketMaskKey& maskKey) {
  uint8_t header[14];
  size_t headerSize = 0;
  header[headerSize++] = static_cast<uint8_t>(0x80 | static_cast<uint8_t>(opcode));
  const uint64_t size = payload.size();
  if (size < 126) {
    header[headerSize++] = static_cast<uint8_t>(0x80 | size);
  } else if (size <= 0xFFFF) {
    header[headerSize++] = 0x80 | 126;
    header[headerSize++] = static_cast<uint8_t>(size >> 8);
    header[headerSize++] = static_cast<uint8_t>(size);
  } else {
    header[headerSize++] = 0x80 | 127;
    for (int shift = 56; shift >= 0; shift -= 8) header[headerSize++] = static_cast<uint8_t>(size >> shift);
  }
  for (uint8_t keyByte : maskKey) header[headerSize++] = keyByte;

  const size_t start = out.size();
  out.resize(start + headerSize + payload.size());
  std::memcpy(out.data() + start, header, headerSize);
  CopyMasked(out.data() + start + headerSize, payload.data(), payload.size(), maskKey);
}

bool ReadFrameHeader(const char* data, size_t size, WebSocketFrameHeader& header) {
  if (size < 2) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(data);
  const uint8_t shortSize = bytes[1] & 0x7F;
  const size_t sizeBytes = shortSize == 127 ? 8 : shortSize == 126 ? 2 : 0;
  const bool masked = (bytes[1] & 0x80) != 0;
  const size_t headerSize = 2 + sizeBytes + (masked ? 4 : 0);
  if (size < headerSize) return false;

  header.final = (bytes[0] & 0x80) != 0;
  header.reservedBits = static_cast<uint8_t>((bytes[0] >> 4) & 0x7);
  header.opcode = bytes[0] & 0x0F;
  header.masked = masked;
  header.payloadSize = shortSize;
  if (sizeBytes != 0) {
    header.payloadSize = 0;
    for (size_t i = 0; i < sizeBytes; ++i) header.payloadSize = (header.payloadSize << 8) | bytes[2 + i];
  }
  header.maskKey = {};
  if (masked) std::memcpy(header.maskKey.data(), bytes + 2 + sizeBytes, 4);
  header.headerSize = headerSize;
  return true;
}
