// The page's window commands against the real window.

#include "tests/app/app_fixture.h"

namespace {

using WindowCommandsTest = PageRequestTest;

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

TEST_F(WindowCommandsTest, ShowPlacesTheWindowAndHidesItWithShowFalse) {
  Ask(R"({"func":"show","tag":1,"data":{"x":50,"y":60,"w":900,"h":500,"show":true}})");
  auto replies = Replies(1);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0]["msg"], "success");
  const RECT placed = WindowRect(window_);
  EXPECT_EQ(placed.left, 50);
  EXPECT_EQ(placed.top, 60);
  EXPECT_EQ(placed.right - placed.left, 900);
  EXPECT_EQ(placed.bottom - placed.top, 500);
  EXPECT_TRUE(IsWindowVisible(window_));

  Ask(R"({"func":"show","tag":2,"data":{"x":50,"y":60,"w":900,"h":500,"show":false}})");
  replies = Replies(2);
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[1]["code"], 200);
  EXPECT_FALSE(IsWindowVisible(window_));
}

TEST_F(WindowCommandsTest, MinimizeAnswersAndThenMinimises) {
  Ask(R"({"func":"minimize","tag":3})");
  const auto replies = Replies(1);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0]["msg"], "success");
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(window_) != FALSE; }, 10000));
}

TEST_F(WindowCommandsTest, CloseToTheTrayKeepsTheProgram) {
  Ask(R"({"func":"close","tag":4,"data":{"tray":true}})");
  const auto replies = Replies(1);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0]["code"], 200);
  EXPECT_FALSE(IsWindowVisible(window_));
  EXPECT_FALSE(processes_.back()->WaitForExit(1000).has_value()) << "the program keeps running in the tray";
  EXPECT_TRUE(IsWindow(window_));
}

TEST_F(WindowCommandsTest, DesktopSizeIsTheScreenSize) {
  Ask(R"({"func":"desktop_size","tag":5})");
  const auto replies = Replies(1);
  ASSERT_EQ(replies.size(), 1u);
  const RECT screen = WindowRect(GetDesktopWindow());
  EXPECT_EQ(replies[0]["data"]["w"], screen.right - screen.left);
  EXPECT_EQ(replies[0]["data"]["h"], screen.bottom - screen.top);
}

}  // namespace
