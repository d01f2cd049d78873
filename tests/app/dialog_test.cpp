// The real choosers, opened from the page and cancelled by the test.

#include "tests/app/app_fixture.h"

namespace {

using DialogTest = PageRequestTest;

// Waits for a standard dialog box of the program and cancels it.
bool CancelDialog() {
  HWND dialog = nullptr;
  if (!WaitUntil([&] { return (dialog = FindWindowW(L"#32770", nullptr)) != nullptr; }, 20000)) return false;
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  return WaitUntil([&] { return !IsWindow(dialog); }, 10000);
}

TEST_F(DialogTest, ACancelledFileDialogAnswersSuccessWithNoFile) {
  Ask(R"({"func":"FileDialog","tag":1})");
  ASSERT_TRUE(CancelDialog());
  const auto replies = Replies(1);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0]["code"], 200);
  EXPECT_EQ(replies[0]["data"]["file"], "");
}

TEST_F(DialogTest, ACancelledFolderChooserAnswersMinusOne) {
  Ask(R"({"func":"Vm_shoose","tag":2})");
  ASSERT_TRUE(CancelDialog());
  const auto replies = Replies(1);
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0]["code"], -1);
  EXPECT_EQ(replies[0]["msg"], "");
  EXPECT_TRUE(replies[0]["data"].is_null());
}

}  // namespace
