// Frames into the layered surface: whole frames, dirty rectangles, size
// changes and the section's size limit; and presentation on a layered window.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "browser/layered_surface.h"
#include "test_windows.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A width x height BGRA frame whose bytes differ from those of another seed.
Bytes Frame(int width, int height, uint8_t seed) {
  Bytes bytes(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + seed * 31 + (i >> 10));
  return bytes;
}

bool SurfaceHolds(const LayeredSurface& surface, const Bytes& expected) {
  return surface.pixels() && std::memcmp(surface.pixels(), expected.data(), expected.size()) == 0;
}

class LayeredSurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(surface.Attach(nullptr)); }  // no window: painting needs none

  LayeredSurface surface;
};

TEST_F(LayeredSurfaceTest, FirstFrameLandsWholeWhateverItsDirtyRectangles) {
  const Bytes frame = Frame(64, 32, 1);
  surface.Paint({CefRect(0, 0, 1, 1)}, frame.data(), 64, 32);
  EXPECT_EQ(surface.frameWidth(), 64);
  EXPECT_EQ(surface.frameHeight(), 32);
  EXPECT_TRUE(SurfaceHolds(surface, frame));
}

struct DirtyCase {
  const char* what;
  std::vector<CefRect> dirty;
  std::vector<RECT> changed;  // what must change: the dirty rectangles clipped to the 64 x 32 frame
};

const DirtyCase kDirtyCases[] = {
    {"one rectangle inside", {CefRect(5, 3, 10, 4)}, {{5, 3, 15, 7}}},
    {"two overlapping rectangles", {CefRect(0, 0, 8, 8), CefRect(4, 4, 8, 8)}, {{0, 0, 8, 8}, {4, 4, 12, 12}}},
    {"height 0 copies nothing", {CefRect(5, 5, 10, 0)}, {}},
    {"width 0 copies nothing", {CefRect(5, 5, 0, 10)}, {}},
    {"crossing the top left corner", {CefRect(-5, -3, 10, 10)}, {{0, 0, 5, 7}}},
    {"crossing the bottom right corner", {CefRect(60, 30, 100, 100)}, {{60, 30, 64, 32}}},
    {"entirely outside", {CefRect(64, 0, 10, 10), CefRect(0, -20, 10, 10)}, {}},
    {"a size that overflows int when added", {CefRect(10, 10, INT_MAX, INT_MAX)}, {{10, 10, 64, 32}}},
    {"the whole frame", {CefRect(0, 0, 64, 32)}, {{0, 0, 64, 32}}},
};

TEST_F(LayeredSurfaceTest, DirtyRectanglesUpdateOnlyTheirPixels) {
  for (const DirtyCase& c : kDirtyCases) {
    SCOPED_TRACE(c.what);
    const Bytes first = Frame(64, 32, 1);
    const Bytes second = Frame(64, 32, 2);
    surface.Paint({CefRect(0, 0, 64, 32)}, first.data(), 64, 32);
    ASSERT_TRUE(SurfaceHolds(surface, first));

    surface.Paint(c.dirty, second.data(), 64, 32);
    Bytes expected = first;
    for (const RECT& area : c.changed) {
      for (LONG y = area.top; y < area.bottom; ++y) {
        const size_t offset = (static_cast<size_t>(y) * 64 + area.left) * 4;
        std::memcpy(expected.data() + offset, second.data() + offset, (area.right - area.left) * 4);
      }
    }
    EXPECT_TRUE(SurfaceHolds(surface, expected));
  }
}

TEST_F(LayeredSurfaceTest, NewSizeRecreatesTheDibWithTheWholeFrame) {
  const Bytes view = Frame(64, 32, 1);
  const Bytes popup = Frame(20, 50, 2);
  const Bytes viewAgain = Frame(64, 32, 3);
  surface.Paint({CefRect(0, 0, 64, 32)}, view.data(), 64, 32);
  surface.Paint({CefRect(0, 0, 1, 1)}, popup.data(), 20, 50);
  EXPECT_EQ(surface.frameWidth(), 20);
  EXPECT_EQ(surface.frameHeight(), 50);
  EXPECT_TRUE(SurfaceHolds(surface, popup));
  surface.Paint({CefRect(0, 0, 1, 1)}, viewAgain.data(), 64, 32);
  EXPECT_EQ(surface.frameWidth(), 64);
  EXPECT_TRUE(SurfaceHolds(surface, viewAgain));
}

TEST_F(LayeredSurfaceTest, FrameFillingTheSectionFitsAndOneColumnMoreIsDropped) {
  const Bytes largest = Frame(3000, 3000, 1);  // exactly 36,000,000 bytes
  surface.Paint({CefRect(0, 0, 3000, 3000)}, largest.data(), 3000, 3000);
  ASSERT_EQ(surface.frameWidth(), 3000);
  ASSERT_TRUE(SurfaceHolds(surface, largest));

  // Copied into the section this would run 12,000 bytes past its end; it is
  // dropped and the previous frame stays.
  const Bytes tooLarge = Frame(3001, 3000, 2);
  surface.Paint({CefRect(0, 0, 3001, 3000)}, tooLarge.data(), 3001, 3000);
  EXPECT_EQ(surface.frameWidth(), 3000);
  EXPECT_EQ(surface.frameHeight(), 3000);
  EXPECT_TRUE(SurfaceHolds(surface, largest));

  // The frames in between were not seen, so the next one that fits is taken
  // whole, though it names only a small dirty rectangle.
  const Bytes next = Frame(3000, 3000, 3);
  surface.Paint({CefRect(0, 0, 10, 10)}, next.data(), 3000, 3000);
  EXPECT_TRUE(SurfaceHolds(surface, next));
}

struct RefusedCase {
  const char* what;
  int width;
  int height;
  bool withBuffer;
};

const RefusedCase kRefusedCases[] = {
    {"width * height * 4 overflows 32 bits", 100000, 100000, true},
    {"zero width", 0, 32, true},
    {"negative height", 64, -32, true},
    {"no pixels", 64, 32, false},
};

TEST_F(LayeredSurfaceTest, UnusableFramesAreDroppedAndThePreviousOneStays) {
  const Bytes first = Frame(64, 32, 1);
  surface.Paint({CefRect(0, 0, 64, 32)}, first.data(), 64, 32);
  const Bytes small = Frame(4, 4, 9);  // the only bytes a dropped frame could reach
  for (const RefusedCase& c : kRefusedCases) {
    SCOPED_TRACE(c.what);
    surface.Paint({CefRect(0, 0, 4, 4)}, c.withBuffer ? small.data() : nullptr, c.width, c.height);
    EXPECT_EQ(surface.frameWidth(), 64);
    EXPECT_EQ(surface.frameHeight(), 32);
    EXPECT_TRUE(SurfaceHolds(surface, first));
  }
}

TEST(LayeredSurfaceWithoutSectionTest, FramesAreDroppedBeforeAttach) {
  LayeredSurface surface;
  const Bytes frame = Frame(8, 8, 1);
  surface.Paint({CefRect(0, 0, 8, 8)}, frame.data(), 8, 8);
  EXPECT_EQ(surface.pixels(), nullptr);
  EXPECT_EQ(surface.frameWidth(), 0);
  surface.Present();  // nothing to show, nothing happens
}

// Opaque pixels of one colour, premultiplied BGRA.
Bytes OpaqueFrame(int width, int height, COLORREF colour) {
  Bytes frame(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < frame.size(); i += 4) {
    frame[i] = GetBValue(colour);
    frame[i + 1] = GetGValue(colour);
    frame[i + 2] = GetRValue(colour);
    frame[i + 3] = 0xFF;
  }
  return frame;
}

// Reads one pixel of the screen as 0x00RRGGBB, once the window has shown.
COLORREF ScreenPixelAfterPresenting(int x, int y, COLORREF wanted) {
  HDC screen = GetDC(nullptr);
  COLORREF pixel = CLR_INVALID;
  for (int attempt = 0; attempt < 100 && pixel != wanted; ++attempt) {
    PumpMessages();
    pixel = GetPixel(screen, x, y);
    if (pixel != wanted) Sleep(20);
  }
  ReleaseDC(nullptr, screen);
  return pixel;
}

TEST(LayeredSurfacePresentTest, FrameShowsAtTheWindowWhichKeepsItsPlace) {
  // Left of x = 200, where the program's own window tests put theirs.
  TestWindow window = TestWindow::Popup(WS_EX_LAYERED, 20, 450, 64, 32);
  if (!window.window()) GTEST_SKIP() << "no display for a top-level window";
  LayeredSurface surface;
  ASSERT_TRUE(surface.Attach(window.window()));
  EXPECT_EQ(surface.window(), window.window());
  surface.Present();  // before the first frame: nothing to show

  const Bytes frame = OpaqueFrame(64, 32, RGB(0x10, 0x20, 0x30));
  surface.Paint({CefRect(0, 0, 64, 32)}, frame.data(), 64, 32);
  surface.Present();
  EXPECT_EQ(ScreenPixelAfterPresenting(30, 460, RGB(0x10, 0x20, 0x30)), RGB(0x10, 0x20, 0x30));
  RECT bounds;
  ASSERT_TRUE(GetWindowRect(window.window(), &bounds));
  EXPECT_EQ(bounds.left, 20);
  EXPECT_EQ(bounds.top, 450);
  EXPECT_EQ(bounds.right - bounds.left, 64);
  EXPECT_EQ(bounds.bottom - bounds.top, 32);
}

TEST(LayeredSurfacePresentTest, APartialFrameChangesOnlyItsAreaOnScreen) {
  TestWindow window = TestWindow::Popup(WS_EX_LAYERED, 20, 450, 64, 32);
  if (!window.window()) GTEST_SKIP() << "no display for a top-level window";
  LayeredSurface surface;
  ASSERT_TRUE(surface.Attach(window.window()));
  const COLORREF blue = RGB(0x10, 0x20, 0xC0);
  const COLORREF red = RGB(0xC0, 0x20, 0x10);
  const Bytes first = OpaqueFrame(64, 32, blue);
  surface.Paint({CefRect(0, 0, 64, 32)}, first.data(), 64, 32);
  surface.Present();
  ASSERT_EQ(ScreenPixelAfterPresenting(20 + 5, 450 + 5, blue), blue);

  // The whole buffer is red, but only a 10 x 10 square at (40, 10) is dirty.
  const Bytes second = OpaqueFrame(64, 32, red);
  surface.Paint({CefRect(40, 10, 10, 10)}, second.data(), 64, 32);
  surface.Present();
  EXPECT_EQ(ScreenPixelAfterPresenting(20 + 45, 450 + 15, red), red);
  EXPECT_EQ(ScreenPixelAfterPresenting(20 + 5, 450 + 5, blue), blue);
  EXPECT_EQ(ScreenPixelAfterPresenting(20 + 55, 450 + 15, blue), blue);
}

}  // namespace
