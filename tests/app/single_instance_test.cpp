// One Tarnwick at a time, and bringing its window back.

#include "app/program_identity.h"
#include "tests/app/app_fixture.h"

namespace {

class SingleInstanceTest : public TarnwickTest {
 protected:
  static bool Restored(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return !IsIconic(window) && IsWindowVisible(window) && rect.left == 200 && rect.top == 200;
  }
};

TEST_F(SingleInstanceTest, ASecondStartEndsWithMinusOneAndRestoresTheFirst) {
  HWND window = StartWithPage();
  ASSERT_TRUE(window) << Output();
  ShowWindow(window, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }, 10000));

  ChildProcess& second = Start("");
  EXPECT_EQ(second.WaitForExit(30000), std::optional<DWORD>(static_cast<DWORD>(-1)));
  EXPECT_TRUE(WaitUntil([&] { return Restored(window); }, 10000));
  EXPECT_EQ(GetForegroundWindow(), window);
  // The first one still runs, alone.
  EXPECT_EQ(processes_.front()->WaitForExit(0), std::nullopt);
  EXPECT_EQ(FindWindowW(kMainWindowClassName, nullptr), window);
}

TEST_F(SingleInstanceTest, TheTrayIconsLeftClickRestoresAMinimisedWindow) {
  HWND window = StartWithPage();
  ASSERT_TRUE(window) << Output();
  ShowWindow(window, SW_MINIMIZE);
  ShowWindow(window, SW_HIDE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) && !IsWindowVisible(window); }, 10000));

  SendMessageW(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return Restored(window); }, 10000));
  EXPECT_EQ(GetForegroundWindow(), window);
}

}  // namespace
