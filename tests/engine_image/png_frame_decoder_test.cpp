#include "engine/image/png_frame_decoder.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/engine_image/png_builder.h"

using png_test::BuildPng;
using png_test::PngColour;
using png_test::PngOptions;
using png_test::Rgba;

namespace {

struct Bgra {
  int b, g, r, a;
};

Bgra PixelAt(const std::vector<uint8_t>& buffer, int width, int x, int y) {
  const size_t offset = (static_cast<size_t>(y) * width + x) * 4;
  return {buffer[offset], buffer[offset + 1], buffer[offset + 2], buffer[offset + 3]};
}

std::string Describe(const Bgra& p) {
  return "BGRA(" + std::to_string(p.b) + "," + std::to_string(p.g) + "," + std::to_string(p.r) + "," +
         std::to_string(p.a) + ")";
}

// Premultiplying may round either way; one step off is the same pixel.
bool Near(const Bgra& got, const Bgra& want) {
  return std::abs(got.b - want.b) <= 1 && std::abs(got.g - want.g) <= 1 && std::abs(got.r - want.r) <= 1 &&
         got.a == want.a;
}

class PngFrameDecoderTest : public ::testing::Test {
 protected:
  bool Decode(const std::vector<uint8_t>& png) {
    return decoder_.Decode(png.data(), png.size(), bgra_, width_, height_);
  }

  PngFrameDecoder decoder_;
  std::vector<uint8_t> bgra_;
  int width_ = -1;
  int height_ = -1;
};

TEST_F(PngFrameDecoderTest, OpaqueSquareOnTransparentBackground) {
  // 6x5, a 2x3 red block at x 2..3, y 1..3. The background is white with
  // alpha 0: its colour must not survive premultiplication.
  const int w = 6, h = 5;
  std::vector<Rgba> pixels(w * h, Rgba{255, 255, 255, 0});
  auto inSquare = [](int x, int y) { return x >= 2 && x <= 3 && y >= 1 && y <= 3; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (inSquare(x, y)) pixels[y * w + x] = Rgba{255, 0, 0, 255};

  ASSERT_TRUE(Decode(BuildPng(w, h, pixels)));
  ASSERT_EQ(width_, w);
  ASSERT_EQ(height_, h);
  ASSERT_EQ(bgra_.size(), size_t{w * h * 4});
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const Bgra got = PixelAt(bgra_, w, x, y);
      const Bgra want = inSquare(x, y) ? Bgra{0, 0, 255, 255} : Bgra{0, 0, 0, 0};
      EXPECT_TRUE(Near(got, want)) << "at " << x << "," << y << ": " << Describe(got);
    }
  }
}

TEST_F(PngFrameDecoderTest, StraightAlphaBecomesPremultiplied) {
  struct Case {
    Rgba straight;
    Bgra premultiplied;
    const char* why;
  };
  static const Case cases[] = {
      {{255, 0, 0, 128}, {0, 0, 128, 128}, "half-transparent red"},
      {{200, 100, 50, 128}, {25, 50, 100, 128}, "every channel scaled, not only full ones"},
      {{10, 20, 30, 255}, {30, 20, 10, 255}, "opaque: channels only swap to BGR order"},
      {{90, 180, 240, 1}, {1, 1, 1, 1}, "nearly transparent: colour almost gone"},
      {{90, 180, 240, 0}, {0, 0, 0, 0}, "transparent: colour gone entirely"},
  };
  std::vector<Rgba> row;
  for (const Case& c : cases) row.push_back(c.straight);
  const int w = static_cast<int>(row.size());

  ASSERT_TRUE(Decode(BuildPng(w, 1, row)));
  ASSERT_EQ(width_, w);
  for (int x = 0; x < w; ++x) {
    const Bgra got = PixelAt(bgra_, w, x, 0);
    EXPECT_TRUE(Near(got, cases[x].premultiplied)) << cases[x].why << ": " << Describe(got);
  }
}

TEST_F(PngFrameDecoderTest, EveryColourAlphaPairRoundsToNearest) {
  // x is the colour value, y the alpha: all 65536 pairs, each channel a
  // different value so a channel mix-up or a carry between channels shows.
  const int side = 256;
  std::vector<Rgba> pixels;
  for (int a = 0; a < side; ++a)
    for (int c = 0; c < side; ++c)
      pixels.push_back(Rgba{static_cast<uint8_t>(c), static_cast<uint8_t>(255 - c), static_cast<uint8_t>(c ^ 0x5A),
                            static_cast<uint8_t>(a)});

  ASSERT_TRUE(Decode(BuildPng(side, side, pixels)));
  auto scaled = [](int c, int a) { return (c * a + 127) / 255; };
  int wrong = 0;
  for (int a = 0; a < side; ++a) {
    for (int c = 0; c < side; ++c) {
      const Bgra got = PixelAt(bgra_, side, c, a);
      const Bgra want{scaled(c ^ 0x5A, a), scaled(255 - c, a), scaled(c, a), a};
      if (!Near(got, want) && ++wrong <= 5) ADD_FAILURE() << "c=" << c << " a=" << a << ": " << Describe(got);
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(PngFrameDecoderTest, OpaqueRgbFrameGetsFullAlpha) {
  // Alpha values given here are dropped by the RGB file; the frame is opaque.
  const std::vector<Rgba> pixels = {{255, 0, 0, 0}, {0, 128, 0, 0}, {1, 2, 3, 0}, {0, 0, 0, 0}, {9, 8, 7, 0}, {255, 255, 255, 0}};
  ASSERT_TRUE(Decode(BuildPng(3, 2, pixels, PngColour::kRgb)));
  ASSERT_EQ(width_, 3);
  ASSERT_EQ(height_, 2);
  ASSERT_EQ(bgra_.size(), size_t{3 * 2 * 4});
  for (int i = 0; i < 6; ++i) {
    const Bgra got = PixelAt(bgra_, 3, i % 3, i / 3);
    EXPECT_TRUE(Near(got, Bgra{pixels[i].b, pixels[i].g, pixels[i].r, 255})) << "pixel " << i << ": " << Describe(got);
  }
}

TEST_F(PngFrameDecoderTest, RowsTopDownWithTightStrideAtOddSizes) {
  struct Size {
    int width, height;
  };
  // 1x1 and 3x2 have row sizes no multiple of 8 or 16 bytes; 3x2 and 5x7 tell
  // a flipped or padded layout from the right one.
  static const Size sizes[] = {{1, 1}, {3, 2}, {5, 7}, {2, 3}};
  for (const Size& size : sizes) {
    SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
    // Every pixel opaque and unique: its colour spells where it belongs.
    std::vector<Rgba> pixels;
    for (int y = 0; y < size.height; ++y)
      for (int x = 0; x < size.width; ++x)
        pixels.push_back(Rgba{static_cast<uint8_t>(10 + x), static_cast<uint8_t>(100 + y), 7, 255});

    ASSERT_TRUE(Decode(BuildPng(size.width, size.height, pixels)));
    ASSERT_EQ(width_, size.width);
    ASSERT_EQ(height_, size.height);
    ASSERT_EQ(bgra_.size(), static_cast<size_t>(size.width) * size.height * 4);
    for (int y = 0; y < size.height; ++y) {
      for (int x = 0; x < size.width; ++x) {
        const Bgra got = PixelAt(bgra_, size.width, x, y);
        EXPECT_TRUE(Near(got, Bgra{7, 100 + y, 10 + x, 255})) << "at " << x << "," << y << ": " << Describe(got);
      }
    }
  }
}

TEST_F(PngFrameDecoderTest, BrokenInputFailsAndDecoderCarriesOn) {
  const std::vector<uint8_t> good = BuildPng(3, 2, std::vector<Rgba>(6, Rgba{1, 2, 3, 255}));
  // Pixel data starts after the signature (8), IHDR (25) and IDAT's length and type (8).
  const size_t pixelDataStart = 8 + 25 + 8;
  struct Case {
    std::vector<uint8_t> bytes;
    const char* why;
  };
  const std::vector<Case> cases = {
      {{}, "nothing at all"},
      {{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', 0, 1, 2, 3, 255, 254}, "garbage"},
      {{good.begin(), good.begin() + 8}, "signature only"},
      {{good.begin(), good.begin() + pixelDataStart + 10}, "cut inside the pixel data"},
      {{good.begin(), good.begin() + 20}, "cut inside the header chunk"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> buffer;
    int width = 0, height = 0;
    EXPECT_FALSE(decoder_.Decode(c.bytes.data(), c.bytes.size(), buffer, width, height)) << c.why;
    // A bad frame must not poison the next one.
    ASSERT_TRUE(Decode(good)) << "after " << c.why;
    EXPECT_TRUE(Near(PixelAt(bgra_, 3, 2, 1), Bgra{3, 2, 1, 255})) << "after " << c.why;
  }
  EXPECT_FALSE(decoder_.Decode(nullptr, 100, bgra_, width_, height_)) << "no bytes";
}

// Straight-alpha pixels where neighbours differ in every channel, so that
// each filter's predictor matters.
std::vector<Rgba> Varied(int width, int height) {
  std::vector<Rgba> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels.push_back(Rgba{static_cast<uint8_t>(x * 37 + y * 11), static_cast<uint8_t>(x * 5 + y * 91 + 3),
                            static_cast<uint8_t>(250 - x * 13 - y * 7), static_cast<uint8_t>(255 - (x + y) % 3 * 60)});
    }
  }
  return pixels;
}

TEST_F(PngFrameDecoderTest, EveryRowFilterAndChunkingGivesTheSamePixels) {
  const int width = 5, height = 6;
  const std::vector<Rgba> pixels = Varied(width, height);
  struct Case {
    const char* what;
    std::vector<uint8_t> rowFilters;
    int imageDataChunks;
  };
  const Case cases[] = {
      {"none", {0}, 1},
      {"sub", {1}, 1},
      {"up (what the browser sends)", {2}, 1},
      {"average", {3}, 1},
      {"Paeth", {4}, 1},
      // Each filter both on the first row (nothing above) and below another one.
      {"all five, row by row", {4, 3, 2, 1, 0}, 1},
      {"up, data cut into 7 chunks", {2}, 7},
  };
  for (const PngColour colour : {PngColour::kRgba, PngColour::kRgb}) {
    const bool alpha = colour == PngColour::kRgba;
    for (const Case& c : cases) {
      PngOptions options;
      options.colour = colour;
      options.rowFilters = c.rowFilters;
      options.imageDataChunks = c.imageDataChunks;
      ASSERT_TRUE(Decode(BuildPng(width, height, pixels, options))) << c.what << (alpha ? " RGBA" : " RGB");
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          const Rgba& p = pixels[y * width + x];
          const int a = alpha ? p.a : 255;
          const Bgra want{(p.b * a + 127) / 255, (p.g * a + 127) / 255, (p.r * a + 127) / 255, a};
          ASSERT_TRUE(Near(PixelAt(bgra_, width, x, y), want))
              << c.what << (alpha ? " RGBA" : " RGB") << " at " << x << "," << y << ": "
              << Describe(PixelAt(bgra_, width, x, y)) << " wanted " << Describe(want);
        }
      }
    }
  }
}

TEST_F(PngFrameDecoderTest, OtherKindsOfPngStillDecode) {
  // Grey 8-bit: not a kind the browser sends, decoded all the same.
  ASSERT_TRUE(Decode(BuildPng(2, 1, {Rgba{40, 0, 0, 255}, Rgba{200, 0, 0, 255}}, PngColour::kGrey)));
  EXPECT_TRUE(Near(PixelAt(bgra_, 2, 0, 0), Bgra{40, 40, 40, 255}));
  EXPECT_TRUE(Near(PixelAt(bgra_, 2, 1, 0), Bgra{200, 200, 200, 255}));
}

TEST_F(PngFrameDecoderTest, DamagedDataOfABrowserFrameFails) {
  const std::vector<Rgba> pixels = Varied(4, 3);
  PngOptions badFilter;
  badFilter.rowFilters = {2, 5};  // no filter type 5
  const std::vector<uint8_t> good = BuildPng(4, 3, pixels);
  std::vector<uint8_t> badChecksum = good;
  badChecksum[8 + 25 + 8 + 10] ^= 0x40;  // a byte inside IDAT: its checksum no longer matches
  // The signature and IHDR (33 bytes) of one image with the data of another.
  const auto headerOfWithDataOf = [&good](int headerRows) {
    std::vector<uint8_t> bytes = BuildPng(4, headerRows, Varied(4, headerRows));
    bytes.resize(33);
    bytes.insert(bytes.end(), good.begin() + 33, good.end());
    return bytes;
  };
  struct Case {
    std::vector<uint8_t> bytes;
    const char* why;
  };
  const std::vector<Case> cases = {
      {BuildPng(4, 3, pixels, badFilter), "unknown filter type"},
      {badChecksum, "IDAT checksum"},
      {headerOfWithDataOf(4), "data one row short"},
      {headerOfWithDataOf(2), "data one row too long"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> buffer;
    int width = 0, height = 0;
    EXPECT_FALSE(decoder_.Decode(c.bytes.data(), c.bytes.size(), buffer, width, height)) << c.why;
  }
}

TEST_F(PngFrameDecoderTest, SameSizeFramesReuseTheBuffer) {
  ASSERT_TRUE(Decode(BuildPng(4, 3, std::vector<Rgba>(12, Rgba{0, 0, 0, 0}))));
  const uint8_t* storage = bgra_.data();

  ASSERT_TRUE(Decode(BuildPng(4, 3, std::vector<Rgba>(12, Rgba{0, 255, 0, 255}))));
  EXPECT_EQ(bgra_.data(), storage);
  EXPECT_TRUE(Near(PixelAt(bgra_, 4, 3, 2), Bgra{0, 255, 0, 255})) << "the new frame's pixels, not the old ones";
}

TEST(PngFrameDecoderThreads, WorksOnAThreadAlreadyInTheMultithreadedApartment) {
  // The decoder joins an STA when it can; on an MTA thread it must still work
  // and must leave that thread's COM state as it found it.
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
  {
    PngFrameDecoder decoder;
    const std::vector<uint8_t> png = BuildPng(1, 1, {Rgba{0, 0, 255, 255}});
    std::vector<uint8_t> bgra;
    int width = 0, height = 0;
    ASSERT_TRUE(decoder.Decode(png.data(), png.size(), bgra, width, height));
    EXPECT_EQ(bgra, (std::vector<uint8_t>{255, 0, 0, 255}));
  }
  CoUninitialize();
}

}  // namespace
