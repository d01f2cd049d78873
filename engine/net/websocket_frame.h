#pragma once
// WebSocket frames (RFC 6455, section 5): writing the masked frames a client
// sends and reading the header of the frames a server sends.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class WebSocketOpcode : uint8_t {
  kContinuation = 0x0,
  kText = 0x1,
  kBinary = 0x2,
  kClose = 0x8,
  kPing = 0x9,
  kPong = 0xA,
};

inline bool IsControlOpcode(uint8_t opcode) { return (opcode & 0x8) != 0; }

using WebSocketMaskKey = std::array<uint8_t, 4>;

// Appends one final (FIN) frame with payload masked by maskKey, as every
// frame from a client must be. The payload is masked while it is copied.
void AppendMaskedFrame(std::string& out, WebSocketOpcode opcode, std::string_view payload,
                       const WebSocketMaskKey& maskKey);

struct WebSocketFrameHeader {
  bool final = false;
  uint8_t reservedBits = 0;    // RSV1..RSV3; must be 0 without extensions
  uint8_t opcode = 0;
  bool masked = false;
  uint64_t payloadSize = 0;
  size_t headerSize = 0;       // bytes before the payload, mask key included
  WebSocketMaskKey maskKey{};
};

// Reads the frame header at the start of data. False while data does not yet
// hold all of it. Nothing is checked here beyond the encoding itself.
bool ReadFrameHeader(const char* data, size_t size, WebSocketFrameHeader& header);
