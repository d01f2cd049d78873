// The tray icon's menu: a right click opens it; dismissing it changes
// nothing, and its one item, "退出", ends Tarnwick.

#include "app/program_identity.h"
#include "tests/app/app_fixture.h"

namespace {

class TrayMenuTest : public TarnwickTest {
 protected:
  static bool MenuOpen() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu);
  }
};

TEST_F(TrayMenuTest, DismissingDoesNothingAndTheExitItemEndsTheProcess) {
  HWND window = StartWithPage();
  ASSERT_TRUE(window) << Output();
  ChildProcess& tarnwick = *processes_.front();

  // The menu's loop reads the keys from the window's thread queue.
  PostMessageW(window, WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
  ASSERT_TRUE(WaitUntil(MenuOpen, 10000)) << "no menu opened";
  PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil([] { return !MenuOpen(); }, 10000));
  EXPECT_EQ(tarnwick.WaitForExit(2000), std::nullopt);
  EXPECT_TRUE(IsWindowVisible(window));

  PostMessageW(window, WM_TRAY_NOTIFY, 0, WM_RBUTTONDOWN);
  ASSERT_TRUE(WaitUntil(MenuOpen, 10000)) << "no menu opened";
  PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(tarnwick.WaitForExit(30000), std::optional<DWORD>(0));
}

}  // namespace
