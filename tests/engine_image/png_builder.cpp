#include "tests/engine_image/png_builder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstddef>
#include <string_view>

namespace png_test {
namespace {

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> entries{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

uint32_t Adler32(const std::vector<uint8_t>& data) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void AppendChunk(std::vector<uint8_t>& out, std::string_view type, const std::vector<uint8_t>& data) {
  AppendBigEndian32(out, static_cast<uint32_t>(data.size()));
  const size_t typeStart = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  AppendBigEndian32(out, Crc32(out.data() + typeStart, out.size() - typeStart));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  size_t offset = 0;
  do {
    const size_t length = std::min<size_t>(raw.size() - offset, 65535);
    const bool last = offset + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<uint8_t>(length));
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(~length));
    out.push_back(static_cast<uint8_t>(~length >> 8));
    out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + length);
    offset += length;
  } while (offset < raw.size());
  AppendBigEndian32(out, Adler32(raw));
  return out;
}


// The filtered form of one row, as an encoder would write it: each byte
// minus its predictor from the byte one pixel to the left (a), the byte above
// (b) and the byte above that left one (c).
std::vector<uint8_t> FilterRow(uint8_t filter, const std::vector<uint8_t>& row, const std::vector<uint8_t>& above,
                               size_t pixelBytes) {
  std::vector<uint8_t> out = {filter};
  for (size_t i = 0; i < row.size(); ++i) {
    const int a = i >= pixelBytes ? row[i - pixelBytes] : 0;
    const int b = above.empty() ? 0 : above[i];
    const int c = i >= pixelBytes && !above.empty() ? above[i - pixelBytes] : 0;
    int predictor = 0;
    switch (filter) {
      case 1: predictor = a; break;
      case 2: predictor = b; break;
      case 3: predictor = (a + b) / 2; break;
      case 4: {
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        break;
      }
      default: break;  // none, or an invalid type written as given
    }
    out.push_back(static_cast<uint8_t>(row[i] - predictor));
  }
  return out;
}

}  // namespace

std::vector<uint8_t> BuildPng(int width, int height, const std::vector<Rgba>& pixels, PngColour colour) {
  PngOptions options;
  options.colour = colour;
  return BuildPng(width, height, pixels, options);
}

std::vector<uint8_t> BuildPng(int width, int height, const std::vector<Rgba>& pixels, const PngOptions& options) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

  std::vector<uint8_t> header;
  AppendBigEndian32(header, static_cast<uint32_t>(width));
  AppendBigEndian32(header, static_cast<uint32_t>(height));
  const uint8_t colourType = options.colour == PngColour::kRgba ? 6 : options.colour == PngColour::kRgb ? 2 : 0;
  header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits, deflate, filter set 0, no interlace
  AppendChunk(png, "IHDR", header);

  const size_t pixelBytes = options.colour == PngColour::kRgba ? 4 : options.colour == PngColour::kRgb ? 3 : 1;
  std::vector<uint8_t> rows, above;
  for (int y = 0; y < height; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < width; ++x) {
      const Rgba& p = pixels[static_cast<size_t>(y) * width + x];
      if (options.colour == PngColour::kGrey) {
        row.push_back(p.r);
        continue;
      }
      row.insert(row.end(), {p.r, p.g, p.b});
      if (options.colour == PngColour::kRgba) row.push_back(p.a);
    }
    const uint8_t filter = options.rowFilters[static_cast<size_t>(y) % options.rowFilters.size()];
    const std::vector<uint8_t> filtered = FilterRow(filter, row, above, pixelBytes);
    rows.insert(rows.end(), filtered.begin(), filtered.end());
    above = row;
  }
  const std::vector<uint8_t> compressed = ZlibStored(rows);
  const size_t pieces = static_cast<size_t>(std::max(options.imageDataChunks, 1));
  const size_t pieceSize = (compressed.size() + pieces - 1) / pieces;
  for (size_t offset = 0; offset < compressed.size(); offset += pieceSize) {
    const size_t end = std::min(compressed.size(), offset + pieceSize);
    AppendChunk(png, "IDAT", std::vector<uint8_t>(compressed.begin() + offset, compressed.begin() + end));
  }
  AppendChunk(png, "IEND", {});
  return png;
}

void RewriteChecksums(std::vector<uint8_t>& png) {
  size_t offset = 8;
  while (offset + 12 <= png.size()) {
    const uint32_t length = (uint32_t{png[offset]} << 24) | (uint32_t{png[offset + 1]} << 16) |
                            (uint32_t{png[offset + 2]} << 8) | png[offset + 3];
    if (length > png.size() - offset - 12) return;
    const uint32_t crc = Crc32(png.data() + offset + 4, length + 4);
    for (int i = 0; i < 4; ++i) png[offset + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    offset += 12 + length;
  }
}

}  // namespace png_test
