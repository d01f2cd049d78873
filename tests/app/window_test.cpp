// The window as the desktop shows it, and its closing.

#include "tests/app/app_fixture.h"

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr int kCell = 16;

// The "desktop" under the layered window: a checkerboard of two colours in a
// window of the test's own, made before Tarnwick's window so it lies below.
uint32_t BackdropColour(int x, int y) { return ((x / kCell + y / kCell) % 2) ? 0x20A040 : 0xE0C020; }

LRESULT CALLBACK BackdropProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  RECT client;
  GetClientRect(hwnd, &client);
  for (int y = 0; y < client.bottom; y += kCell) {
    for (int x = 0; x < client.right; x += kCell) {
      const uint32_t colour = BackdropColour(x, y);
      HBRUSH brush = CreateSolidBrush(RGB(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF));
      RECT cell{x, y, x + kCell, y + kCell};
      FillRect(dc, &cell, brush);
      DeleteObject(brush);
    }
  }
  EndPaint(hwnd, &paint);
  return 0;
}

class Backdrop {
 public:
  Backdrop() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = BackdropProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarnwickTestBackdrop";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                              0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    UpdateWindow(window_);
  }
  ~Backdrop() { DestroyWindow(window_); }
  HWND window() const { return window_; }

 private:
  HWND window_ = nullptr;
};

class WindowTest : public TarnwickTest {};

TEST_F(WindowTest, ThePageAppearsAt200WithTheDesktopThroughItsTransparentPixels) {
  Backdrop backdrop;
  ASSERT_TRUE(backdrop.window());
  HWND window = StartWithPage();
  ASSERT_TRUE(window) << Output();

  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 200);
  EXPECT_EQ(rect.right - rect.left, 1400);
  EXPECT_EQ(rect.bottom - rect.top, 720);

  Screenshot shot;
  ASSERT_TRUE(WaitUntil(
      [&] {
        shot = CaptureScreen();
        return shot.At(350, 300) == kRed && shot.At(1599, 899) == kBlue;
      },
      30000))
      << "the page never showed";

  // The red box's corner sits exactly at the window's corner.
  EXPECT_EQ(shot.At(200, 200), kRed);
  EXPECT_EQ(shot.At(499, 399), kRed);
  EXPECT_EQ(shot.At(199, 200), BackdropColour(199, 200));
  EXPECT_EQ(shot.At(200, 199), BackdropColour(200, 199));
  // The blue box reaches the screen's right edge: the window is 1400 wide.
  EXPECT_EQ(shot.At(1200, 600), kBlue);
  EXPECT_EQ(shot.At(1199, 600), BackdropColour(1199, 600));

  // Where the page is transparent, every pixel is the desktop's.
  int differing = 0;
  for (int y = 250; y < 560; ++y) {
    for (int x = 520; x < 1150; ++x) differing += shot.At(x, y) != BackdropColour(x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST_F(WindowTest, WmCloseEndsTheProcessWithExitCodeZero) {
  HWND window = StartWithPage();
  ASSERT_TRUE(window) << Output();
  ChildProcess& tarnwick = *processes_.front();
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(tarnwick.WaitForExit(30000), std::optional<DWORD>(0));
}

}  // namespace
