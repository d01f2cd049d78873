// Dragging the borderless window: MainWindow's handling of presses and moves,
// on a real window with the real cursor. (The page starts a drag with
// "move_begin"; here the flag is set directly.)

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/tray_icon.h"

namespace {

class MainWindowDragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test needs an X display: run it through scripts/test (Xvfb)";
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window_);
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
  }

  // The cursor is put at (x, y), then the message goes to the MainWindow.
  void Mouse(UINT message, int x, int y, WPARAM keys) {
    SetCursorPos(x, y);
    bool handled = true;
    main_.OnWindowMessage(window_, message, keys, 0, &handled);
    EXPECT_FALSE(handled) << "the page must see every mouse message too";
  }

  POINT Position() const {
    RECT rect{};
    GetWindowRect(window_, &rect);
    return {rect.left, rect.top};
  }

  TrayIcon tray_;
  CommandEnvironment environment_;
  MainWindow main_{tray_, environment_};
  HWND window_ = nullptr;
};

#define EXPECT_AT(px, py)                  \
  do {                                     \
    const POINT at = Position();           \
    EXPECT_EQ(at.x, px);                   \
    EXPECT_EQ(at.y, py);                   \
  } while (0)

TEST_F(MainWindowDragTest, FollowsTheCursorAndPausesWhileCtrlIsHeld) {
  Mouse(WM_LBUTTONDOWN, 150, 150, MK_LBUTTON);
  main_.SetDragging(true);
  Mouse(WM_MOUSEMOVE, 190, 170, MK_LBUTTON);
  EXPECT_AT(140, 120);

  Mouse(WM_MOUSEMOVE, 250, 250, MK_LBUTTON | MK_CONTROL);
  EXPECT_AT(140, 120);
  // Ctrl released while still dragging: the window catches up with the cursor.
  Mouse(WM_MOUSEMOVE, 260, 250, MK_LBUTTON);
  EXPECT_AT(210, 200);
}

TEST_F(MainWindowDragTest, StaysWithoutTheDraggingFlagOrTheLeftButton) {
  Mouse(WM_LBUTTONDOWN, 150, 150, MK_LBUTTON);
  Mouse(WM_MOUSEMOVE, 190, 170, MK_LBUTTON);
  EXPECT_AT(100, 100);
  main_.SetDragging(true);
  Mouse(WM_MOUSEMOVE, 190, 170, 0);
  EXPECT_AT(100, 100);
  main_.SetDragging(false);
  Mouse(WM_MOUSEMOVE, 220, 170, MK_LBUTTON);
  EXPECT_AT(100, 100);
}

}  // namespace
