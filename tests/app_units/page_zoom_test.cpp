#include "browser/page_zoom.h"

#include <gtest/gtest.h>

namespace {

struct ZoomCase {
  UINT dpi;
  double level;
};

// The scale factor itself is the level; exactly 1 is the engine's default 0.
const ZoomCase kCases[] = {
    {96, 0.0},                               // 100 %: default zoom
    {120, 1.25},                             // 125 %
    {144, 1.5},                              // 150 %
    {192, 2.0},                              // 200 %
    {0, 0.0},                                // no window: no DPI
    {100, static_cast<double>(100.0f / 96.0f)},  // computed in single precision
};

TEST(PageZoom, DpiGivesTheScaleFactorAsLevel) {
  for (const ZoomCase& c : kCases) EXPECT_EQ(ZoomLevelForDpi(c.dpi), c.level) << c.dpi;
}

TEST(PageZoom, LogicalPixelsAreScaledInDoublePrecision) {
  EXPECT_EQ(ZoomLevelForLogicalPixels(96), 0.0);
  EXPECT_EQ(ZoomLevelForLogicalPixels(144), 1.5);
  EXPECT_EQ(ZoomLevelForLogicalPixels(100), 100.0 / 96.0);
}

}  // namespace
