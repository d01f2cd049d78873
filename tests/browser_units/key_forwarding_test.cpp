// Key and character messages reach the browser host as key events.

#include <gtest/gtest.h>

#include "browser/input_forwarding.h"
#include "recording_host.h"
#include "test_windows.h"

namespace {

struct KeyMessageCase {
  const char* what;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  cef_key_event_type_t type;
  int isSystemKey;
  wchar_t character;
};

const KeyMessageCase kKeyMessageCases[] = {
    {"key down", WM_KEYDOWN, 'A', 0x001E0001, KEYEVENT_RAWKEYDOWN, 0, 0},
    {"key up", WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001u), KEYEVENT_KEYUP, 0, 0},
    {"character", WM_CHAR, 'a', 0x001E0001, KEYEVENT_CHAR, 0, L'a'},
    {"character beyond ASCII", WM_CHAR, 0x00E9, 0x00280001, KEYEVENT_CHAR, 0, 0x00E9},
    {"system key down (Alt+F4)", WM_SYSKEYDOWN, VK_F4, 0x203E0001, KEYEVENT_RAWKEYDOWN, 1, 0},
    {"system key up", WM_SYSKEYUP, VK_F4, static_cast<LPARAM>(0xE03E0001u), KEYEVENT_KEYUP, 1, 0},
    {"system character (Alt+x)", WM_SYSCHAR, 'x', 0x202D0001, KEYEVENT_CHAR, 1, L'x'},
};

TEST(KeyForwardingTest, MessagesBecomeKeyEventsWithTheirCodes) {
  TestWindow window = TestWindow::MessageOnly();
  KeyboardState keyboard({});
  CefRefPtr<RecordingHost> host = new RecordingHost;
  InputForwarder forwarder;
  for (const KeyMessageCase& c : kKeyMessageCases) {
    SCOPED_TRACE(c.what);
    host->keys.clear();
    // Default processing (Alt+F4, the system menu) still has to run.
    EXPECT_FALSE(forwarder.ForwardKeyMessage(host, window.window(), c.msg, c.wParam, c.lParam));
    ASSERT_EQ(host->keys.size(), 1u);
    const CefKeyEvent& key = host->keys[0];
    EXPECT_EQ(key.type, c.type);
    EXPECT_EQ(key.windows_key_code, static_cast<int>(c.wParam));
    EXPECT_EQ(key.native_key_code, static_cast<int>(c.lParam));
    EXPECT_EQ(key.is_system_key, c.isSystemKey);
    EXPECT_EQ(key.character, c.character);
    EXPECT_EQ(key.unmodified_character, 0);
    EXPECT_EQ(key.focus_on_editable_field, 0);
  }
}

TEST(KeyForwardingTest, ModifiersOfKeysAndCharacters) {
  TestWindow window = TestWindow::MessageOnly();
  KeyboardState keyboard({VK_SHIFT});
  CefRefPtr<RecordingHost> host = new RecordingHost;
  InputForwarder forwarder;
  forwarder.ForwardKeyMessage(host, window.window(), WM_KEYDOWN, VK_RETURN, 0x011C0001);  // key pad Enter
  forwarder.ForwardKeyMessage(host, window.window(), WM_CHAR, 'A', 0x001E0001);          // 0x41, not a key pad key
  ASSERT_EQ(host->keys.size(), 2u);
  EXPECT_EQ(host->keys[0].modifiers, static_cast<uint32_t>(EVENTFLAG_SHIFT_DOWN | EVENTFLAG_IS_KEY_PAD));
  EXPECT_EQ(host->keys[1].modifiers, static_cast<uint32_t>(EVENTFLAG_SHIFT_DOWN));
}

TEST(KeyForwardingTest, OtherMessagesAndMissingHostSendNothing) {
  TestWindow window = TestWindow::MessageOnly();
  CefRefPtr<RecordingHost> host = new RecordingHost;
  InputForwarder forwarder;
  EXPECT_FALSE(forwarder.ForwardKeyMessage(host, window.window(), WM_DEADCHAR, '^', 0));
  EXPECT_FALSE(forwarder.ForwardKeyMessage(nullptr, window.window(), WM_KEYDOWN, 'A', 0));
  EXPECT_TRUE(host->keys.empty());
}

}  // namespace
