// What the page tells the host besides calls: cursors, context menus, popups.

#include <gtest/gtest.h>

#include "tests/engine/engine_fixture.h"

namespace {

class PageReportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(EngineSession::Ready());
    browser_ = EngineSession::Open(
        "<!doctype html><style>body{margin:0} a,input{position:absolute;display:block;width:60px;height:20px}"
        "a{left:0;top:0} input{left:0;top:40px}</style><a href='#x'>link</a><input>",
        client_);
    ASSERT_TRUE(browser_);
  }
  void TearDown() override {
    if (browser_) browser_->GetHost()->CloseBrowser(true);
  }

  void MoveTo(int x, int y) { browser_->GetHost()->SendMouseMoveEvent(CefMouseEvent{x, y, 0}, false); }
  void RightClick(int x, int y) {
    browser_->GetHost()->SendMouseClickEvent(CefMouseEvent{x, y, 0}, MBT_RIGHT, false, 1);
    browser_->GetHost()->SendMouseClickEvent(CefMouseEvent{x, y, 0}, MBT_RIGHT, true, 1);
  }

  CefRefPtr<RecordingClient> client_;
  CefRefPtr<CefBrowser> browser_;
};

TEST_F(PageReportsTest, TheCursorFollowsWhatIsUnderThePointer) {
  MoveTo(10, 10);
  ASSERT_TRUE(RunUntil([&] { return !client_->cursors.empty() && client_->cursors.back() == CT_HAND; }));
  MoveTo(10, 50);
  ASSERT_TRUE(RunUntil([&] { return client_->cursors.back() == CT_IBEAM; }));
  MoveTo(120, 80);
  EXPECT_TRUE(RunUntil([&] { return client_->cursors.back() == CT_POINTER; }));
}

TEST_F(PageReportsTest, ContextMenusOfferEditingOnlyInTextFields) {
  RightClick(10, 50);
  ASSERT_TRUE(RunUntil([&] { return client_->menus.size() == 1; }));
  EXPECT_TRUE(client_->menus[0].first & CM_TYPEFLAG_EDITABLE);
  EXPECT_GT(client_->menus[0].second, 0u);
  RightClick(120, 80);
  ASSERT_TRUE(RunUntil([&] { return client_->menus.size() == 2; }));
  EXPECT_EQ(client_->menus[1].first, CM_TYPEFLAG_PAGE);
  EXPECT_EQ(client_->menus[1].second, 0u);
}

TEST_F(PageReportsTest, APopupGoesToTheClientFirst) {
  browser_->GetMainFrame()->ExecuteJavaScript("window.open('about:blank#popup')", "", 0);
  ASSERT_TRUE(RunUntil([&] { return !client_->popups.empty(); }));
  EXPECT_EQ(client_->popups[0], "about:blank#popup");
}

}  // namespace

