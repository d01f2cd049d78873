#include "engine/image/frame_difference.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kWidth = 7;
constexpr int kHeight = 5;

struct ByteChange {
  int x, y, byte;  // byte 0..3 of the pixel (blue, green, red, alpha)
};

struct Case {
  const char* what;
  std::vector<ByteChange> changes;
  bool changed;
  CefRect area;
};

const Case kCases[] = {
    // Same frame again: nothing to paint.
    {"identical", {}, false, {}},
    // One byte is enough, whichever channel it is.
    {"top-left corner, blue", {{0, 0, 0}}, true, CefRect(0, 0, 1, 1)},
    {"bottom-right corner, alpha", {{6, 4, 3}}, true, CefRect(6, 4, 1, 1)},
    {"middle, green", {{3, 2, 1}}, true, CefRect(3, 2, 1, 1)},
    // Pixels on different rows and columns: their bounding box.
    {"two opposite corners", {{6, 0, 2}, {0, 4, 0}}, true, CefRect(0, 0, 7, 5)},
    {"left on a later row than right", {{5, 1, 0}, {1, 3, 1}}, true, CefRect(1, 1, 5, 3)},
    // An unchanged row between two changed ones is inside the box.
    {"rows 0 and 4 of one column", {{2, 0, 0}, {2, 4, 0}}, true, CefRect(2, 0, 1, 5)},
    // A change in the last byte of a row is not taken for the next row.
    {"last byte of row 1", {{6, 1, 3}}, true, CefRect(6, 1, 1, 1)},
    {"first byte of row 2", {{0, 2, 0}}, true, CefRect(0, 2, 1, 1)},
};

TEST(FrameDifferenceTest, ChangedAreaIsTheBoxAroundEveryChangedPixel) {
  std::vector<uint8_t> before(kWidth * kHeight * 4);
  for (size_t i = 0; i < before.size(); ++i) before[i] = static_cast<uint8_t>(i * 7);
  for (const Case& c : kCases) {
    std::vector<uint8_t> after = before;
    for (const ByteChange& change : c.changes) after[(change.y * kWidth + change.x) * 4 + change.byte] ^= 0x01;
    const auto area = ChangedArea(before.data(), after.data(), kWidth, kHeight);
    ASSERT_EQ(area.has_value(), c.changed) << c.what;
    if (!area) continue;
    EXPECT_EQ(area->x, c.area.x) << c.what;
    EXPECT_EQ(area->y, c.area.y) << c.what;
    EXPECT_EQ(area->width, c.area.width) << c.what;
    EXPECT_EQ(area->height, c.area.height) << c.what;
  }
}

TEST(FrameDifferenceTest, AnEmptyFrameHasNoChanges) {
  const uint8_t pixel[4] = {};
  EXPECT_FALSE(ChangedArea(pixel, pixel, 0, 1));
  EXPECT_FALSE(ChangedArea(pixel, pixel, 1, 0));
}

}  // namespace
