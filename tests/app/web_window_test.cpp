// A WebWindow whose browser cannot be created (no engine in this process):
// the window exists but is never handed out, and the close it is sent ends it
// and the message loop.

#include <gtest/gtest.h>

#include "browser/bridge_window_messages.h"
#include "browser/web_window.h"
#include "tests/app/app_fixture.h"

namespace {

TEST(WebWindowWithoutBrowser, FailsAndClosesItsWindowFromTheLoop) {
  ASSERT_NE(getenv("DISPLAY"), nullptr) << "this test needs an X display: run it through scripts/test (Xvfb)";
  WebWindow web;
  EXPECT_FALSE(web.Create(nullptr, WindowKind::Layered, L"TarnwickTestWebWindow", L"t", 10, 10, 200, 100, nullptr));
  EXPECT_EQ(web.GetHwnd(), nullptr);
  ASSERT_TRUE(web.HasWindow());
  HWND window = FindWindowW(L"TarnwickTestWebWindow", nullptr);
  ASSERT_TRUE(window);

  // Maximised, the borderless window covers exactly the work area.
  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  ShowWindow(window, SW_SHOWMAXIMIZED);
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, workArea.right - workArea.left);
  EXPECT_EQ(rect.bottom - rect.top, workArea.bottom - workArea.top);

  // Replies have nowhere to go.
  EXPECT_EQ(web.SendScriptReply(2, L"{}"), 0);
  EXPECT_EQ(SendMessageW(window, WM_SCRIPT_REPLY, 2, reinterpret_cast<LPARAM>(L"{}")), 0);

  // The posted close destroys the layered window in one step, and its
  // WM_DESTROY ends the loop.
  bool quit = false;
  WaitUntil(
      [&] {
        MSG message{};
        while (!quit && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
          quit = message.message == WM_QUIT;
          DispatchMessageW(&message);
        }
        return quit;
      },
      10000);
  EXPECT_TRUE(quit);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(web.HasWindow());
}

}  // namespace
