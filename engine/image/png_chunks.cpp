#include "engine/image/png_chunks.h"

#include <zlib.h>

#include <climits>
#include <cstring>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kChunkOverhead = 12;  // length, type, checksum

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

bool TypeIs(const uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// The checksum covers the type and the data.
bool ChecksumMatches(const uint8_t* type, uint32_t length) {
  const uLong crc = crc32(0L, type, static_cast<uInt>(length + 4));
  return crc == BigEndian32(type + 4 + length);
}

}  // namespace

bool ReadPngChunks(const uint8_t* png, size_t size, PngChunks& chunks) {
  chunks = PngChunks{};
  if (png == nullptr || size < sizeof(kSignature) || std::memcmp(png, kSignature, sizeof(kSignature)) != 0) {
    return false;
  }
  size_t offset = sizeof(kSignature);
  bool first = true;
  while (size - offset >= kChunkOverhead) {
    const uint32_t length = BigEndian32(png + offset);
    // Lengths above 2^31 - 1 are not allowed, which also keeps length + 4 in a uInt.
    if (length > INT_MAX || length > size - offset - kChunkOverhead) return false;
    const uint8_t* type = png + offset + 4;
    const uint8_t* data = type + 4;
    offset += kChunkOverhead + length;

    if (first != TypeIs(type, "IHDR")) return false;
    first = false;
    const bool critical = (type[0] & 0x20) == 0;
    if (!critical) continue;
    if (!ChecksumMatches(type, length)) return false;

    if (TypeIs(type, "IHDR")) {
      if (length != 13) return false;
      chunks.width = BigEndian32(data);
      chunks.height = BigEndian32(data + 4);
      chunks.bitDepth = data[8];
      chunks.colourType = data[9];
      chunks.interlace = data[12];
      // Compression and filter method 0 are the only ones there are.
      if (data[10] != 0 || data[11] != 0) chunks.onlyKnownCriticalChunks = false;
    } else if (TypeIs(type, "IDAT")) {
      chunks.imageData.push_back({data, length});
    } else if (TypeIs(type, "IEND")) {
      return !chunks.imageData.empty();
    } else {
      chunks.onlyKnownCriticalChunks = false;  // PLTE or one this reader does not know
    }
  }
  return false;
}
