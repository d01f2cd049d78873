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

// Chromium sends RGBA, or plain RGB when a frame has no transparency.
enum class PngColour { kRgba, kRgb };

// `pixels` holds width * height straight-alpha pixels, top row first; kRgb
// drops their alpha.
std::vector<uint8_t> BuildPng(int width, int height, const std::vector<Rgba>& pixels,
                              PngColour colour = PngColour::kRgba);

}  // namespace png_test
