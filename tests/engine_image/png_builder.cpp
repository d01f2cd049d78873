#include "tests/engine_image/png_builder.h"

#include <algorithm>
#include <array>
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

}  // namespace

std::vector<uint8_t> BuildPng(int width, int height, const std::vector<Rgba>& pixels, PngColour colour) {
  const bool withAlpha = colour == PngColour::kRgba;
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

  std::vector<uint8_t> header;
  AppendBigEndian32(header, static_cast<uint32_t>(width));
  AppendBigEndian32(header, static_cast<uint32_t>(height));
  const uint8_t colourType = withAlpha ? 6 : 2;
  header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits, deflate, filter set 0, no interlace
  AppendChunk(png, "IHDR", header);

  std::vector<uint8_t> rows;
  for (int y = 0; y < height; ++y) {
    rows.push_back(0);  // filter: none
    for (int x = 0; x < width; ++x) {
      const Rgba& p = pixels[static_cast<size_t>(y) * width + x];
      rows.insert(rows.end(), {p.r, p.g, p.b});
      if (withAlpha) rows.push_back(p.a);
    }
  }
  AppendChunk(png, "IDAT", ZlibStored(rows));
  AppendChunk(png, "IEND", {});
  return png;
}

}  // namespace png_test
