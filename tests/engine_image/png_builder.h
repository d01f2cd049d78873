#pragma once
// Builds small 8-bit RGBA or RGB PNG files by hand (unfiltered rows, zlib stored
// blocks), so the tests control every byte the decoder sees and do not depend
// on an encoder's choices.

#include <cstdint>
#include <vector>

namespace png_test {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
};

// Chromium sends RGBA, or plain RGB when a frame has no transparency. Grey
// (8 bits, the red channel) stands for every other kind of PNG.
enum class PngColour { kRgba, kRgb, kGrey };

struct PngOptions {
  PngColour colour = PngColour::kRgba;
  // The filter type of each row (0 none, 1 sub, 2 up, 3 average, 4 Paeth),
  // repeated when there are more rows; used as given, even when invalid.
  std::vector<uint8_t> rowFilters = {0};
  // How many IDAT chunks the compressed data is cut into (at least 1).
  int imageDataChunks = 1;
};

// `pixels` holds width * height straight-alpha pixels, top row first; kRgb
// drops their alpha.
std::vector<uint8_t> BuildPng(int width, int height, const std::vector<Rgba>& pixels,
                              PngColour colour = PngColour::kRgba);
std::vector<uint8_t> BuildPng(int width, int height, const std::vector<Rgba>& pixels, const PngOptions& options);

// Recomputes the checksum of every whole chunk after the signature, so that a
// change to a chunk's contents reaches the code behind the checksum test.
void RewriteChecksums(std::vector<uint8_t>& png);

}  // namespace png_test
