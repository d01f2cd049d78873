#include "engine/image/png_pixels.h"

#include <zlib.h>

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "engine/image/premultiply.h"

namespace {

constexpr uint64_t kMaxDeflateRatio = 1032;

enum Filter : uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };

uint8_t PaethPredictor(int left, int above, int upperLeft) {
  const int estimate = left + above - upperLeft;
  const int toLeft = std::abs(estimate - left);
  const int toAbove = std::abs(estimate - above);
  const int toUpperLeft = std::abs(estimate - upperLeft);
  if (toLeft <= toAbove && toLeft <= toUpperLeft) return static_cast<uint8_t>(left);
  return static_cast<uint8_t>(toAbove <= toUpperLeft ? above : upperLeft);
}

// row += prior, byte by byte; the two never overlap (consecutive rows), which
// lets the compiler do it 16 bytes at a time. This is the filter the browser
// uses for every row.
void AddRow(uint8_t* __restrict row, const uint8_t* __restrict prior, size_t size) {
  for (size_t i = 0; i < size; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
}

// Reverses one row's filter in place. `prior` is the row above, already
// unfiltered, or null for the first row (which filters against zeros).
bool Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prior, size_t rowBytes, size_t pixelBytes) {
  switch (filter) {
    case kNone:
      return true;
    case kSub:
      for (size_t i = pixelBytes; i < rowBytes; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - pixelBytes]);
      return true;
    case kUp:
      if (prior) AddRow(row, prior, rowBytes);
      return true;
    case kAverage:
      for (size_t i = 0; i < rowBytes; ++i) {
        const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
        const int above = prior ? prior[i] : 0;
        row[i] = static_cast<uint8_t>(row[i] + ((left + above) >> 1));
      }
      return true;
    case kPaeth:
      for (size_t i = 0; i < rowBytes; ++i) {
        const int left = i >= pixelBytes ? row[i - pixelBytes] : 0;
        const int above = prior ? prior[i] : 0;
        const int upperLeft = prior && i >= pixelBytes ? prior[i - pixelBytes] : 0;
        row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(left, above, upperLeft));
      }
      return true;
    default:
      return false;
  }
}

// Straight RGBA bytes to premultiplied BGRA: as little-endian words, red and
// blue trade places.
void RgbaToPremultipliedBgra(const uint8_t* rgba, uint8_t* bgra, uint32_t pixelCount) {
  for (uint32_t x = 0; x < pixelCount; ++x) {
    uint32_t pixel;
    std::memcpy(&pixel, rgba + 4 * size_t{x}, 4);
    pixel = (pixel & 0xFF00FF00u) | ((pixel & 0xFFu) << 16) | ((pixel >> 16) & 0xFFu);
    pixel = PremultiplyPixel(pixel);
    std::memcpy(bgra + 4 * size_t{x}, &pixel, 4);
  }
}

void RgbToBgra(const uint8_t* rgb, uint8_t* bgra, uint32_t pixelCount) {
  for (uint32_t x = 0; x < pixelCount; ++x, rgb += 3, bgra += 4) {
    bgra[0] = rgb[2];
    bgra[1] = rgb[1];
    bgra[2] = rgb[0];
    bgra[3] = 255;
  }
}

// Inflates the image data into exactly `size` bytes; false for anything
// shorter, longer or damaged.
bool InflateExactly(const std::vector<PngChunks::Span>& spans, uint8_t* out, size_t size) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_out = out;
  // A frame's rows fit a uInt: the caller keeps them under 4 GB.
  stream.avail_out = static_cast<uInt>(size);
  int result = Z_OK;
  for (const PngChunks::Span& span : spans) {
    stream.next_in = const_cast<Bytef*>(span.data);
    stream.avail_in = static_cast<uInt>(span.size);
    result = inflate(&stream, Z_NO_FLUSH);
    if (result == Z_STREAM_END) break;
    if (result != Z_OK && result != Z_BUF_ERROR) break;
  }
  const bool whole = result == Z_STREAM_END && stream.avail_out == 0;
  inflateEnd(&stream);
  return whole;
}

}  // namespace

bool IsPlainRgbOrRgba(const PngChunks& chunks) {
  return chunks.onlyKnownCriticalChunks && chunks.bitDepth == 8 && chunks.interlace == 0 &&
         (chunks.colourType == 2 || chunks.colourType == 6);
}

bool DecodePngPixels(const PngChunks& chunks, std::vector<uint8_t>& rows, std::vector<uint8_t>& bgra) {
  if (!IsPlainRgbOrRgba(chunks) || chunks.width == 0 || chunks.height == 0) return false;
  const size_t pixelBytes = chunks.colourType == 6 ? 4 : 3;
  const uint64_t rowBytes = uint64_t{chunks.width} * pixelBytes;
  const uint64_t filteredSize = (rowBytes + 1) * chunks.height;
  const uint64_t outputSize = uint64_t{chunks.width} * 4 * chunks.height;
  if (filteredSize > UINT_MAX || outputSize > UINT_MAX) return false;
  // Deflate expands at most 1032 to 1: a header promising more than the data
  // can hold is refused before anything that size is allocated.
  uint64_t compressedSize = 0;
  for (const PngChunks::Span& span : chunks.imageData) compressedSize += span.size;
  if (filteredSize > compressedSize * kMaxDeflateRatio) return false;

  rows.resize(static_cast<size_t>(filteredSize));
  if (!InflateExactly(chunks.imageData, rows.data(), rows.size())) return false;

  bgra.resize(static_cast<size_t>(outputSize));
  const uint8_t* prior = nullptr;
  for (uint32_t y = 0; y < chunks.height; ++y) {
    uint8_t* filtered = rows.data() + y * (rowBytes + 1);
    uint8_t* row = filtered + 1;
    if (!Unfilter(filtered[0], row, prior, static_cast<size_t>(rowBytes), pixelBytes)) return false;
    prior = row;

    uint8_t* out = bgra.data() + size_t{y} * chunks.width * 4;
    if (pixelBytes == 4) {
      RgbaToPremultipliedBgra(row, out, chunks.width);
    } else {
      RgbToBgra(row, out, chunks.width);
    }
  }
  return true;
}
