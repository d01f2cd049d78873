#include "engine/image/png_pixels.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/image/png_chunks.h"
#include "engine/image/png_frame_decoder.h"
#include "tests/engine_image/png_builder.h"

using png_test::BuildPng;
using png_test::PngColour;
using png_test::PngOptions;
using png_test::Rgba;

namespace {

// The browser's frames must take the direct path, not the WIC one.
TEST(PngPixelsTest, BrowserFramesAreDecodedDirectlyAndOtherKindsAreLeftAlone) {
  const std::vector<Rgba> pixels = {Rgba{10, 20, 30, 128}, Rgba{200, 100, 50, 255}};
  struct Case {
    PngColour colour;
    bool direct;
    const char* what;
  };
  const Case cases[] = {
      {PngColour::kRgba, true, "RGBA"},
      {PngColour::kRgb, true, "RGB"},
      {PngColour::kGrey, false, "grey"},
  };
  for (const Case& c : cases) {
    PngOptions options;
    options.colour = c.colour;
    options.rowFilters = {2};
    const std::vector<uint8_t> png = BuildPng(2, 1, pixels, options);
    PngChunks chunks;
    ASSERT_TRUE(ReadPngChunks(png.data(), png.size(), chunks)) << c.what;
    EXPECT_EQ(IsPlainRgbOrRgba(chunks), c.direct) << c.what;
    std::vector<uint8_t> rows, bgra;
    EXPECT_EQ(DecodePngPixels(chunks, rows, bgra), c.direct) << c.what;
    if (c.colour == PngColour::kRgba) {
      // 30 * 128 / 255 = 15.06, 20 * 128 / 255 = 10.04, 10 * 128 / 255 = 5.02
      EXPECT_EQ(bgra, (std::vector<uint8_t>{15, 10, 5, 128, 50, 100, 200, 255}));
    }
  }
}

}  // namespace

namespace {

// Every cut and every single-bit change of a small frame (with the checksums
// made right again, so the change reaches the header, inflate and filter
// code), through the whole decoder: whatever the answer, nothing reads or
// writes out of bounds, and a success comes with a buffer of the size it
// reports.
TEST(PngPixelsTest, EveryCutAndBitFlipIsHandled) {
  std::vector<Rgba> pixels;
  for (int i = 0; i < 12; ++i) pixels.push_back(Rgba{static_cast<uint8_t>(i * 20), 7, 99, static_cast<uint8_t>(i * 21)});
  PngOptions options;
  options.rowFilters = {4, 1, 3};
  options.imageDataChunks = 2;
  const std::vector<uint8_t> good = BuildPng(4, 3, pixels, options);
  PngFrameDecoder decoder;
  std::vector<uint8_t> bgra;
  const auto check = [&](const std::vector<uint8_t>& bytes, const std::string& what) {
    int width = 0, height = 0;
    if (decoder.Decode(bytes.data(), bytes.size(), bgra, width, height)) {
      EXPECT_EQ(bgra.size(), static_cast<size_t>(width) * height * 4) << what;
    }
  };
  for (size_t cut = 0; cut < good.size(); ++cut) check({good.begin(), good.begin() + cut}, "cut " + std::to_string(cut));
  for (size_t at = 0; at < good.size(); ++at) {
    for (int bit = 0; bit < 8; ++bit) {
      std::vector<uint8_t> flipped = good;
      flipped[at] ^= static_cast<uint8_t>(1 << bit);
      png_test::RewriteChecksums(flipped);
      check(flipped, "byte " + std::to_string(at) + " bit " + std::to_string(bit));
    }
  }
}

}  // namespace
