// Event flags of key, character and mouse messages, with the thread's
// keyboard state set through SetKeyboardState.

#include <gtest/gtest.h>

#include <vector>

#include "browser/key_modifiers.h"
#include "engine/include/cef_browser.h"
#include "test_windows.h"

namespace {

// Key data of a key message: scan code, extended-key bit, release bits.
LPARAM KeyData(unsigned scanCode, bool extended = false, bool release = false) {
  LPARAM data = 1 | (static_cast<LPARAM>(scanCode) << 16);
  if (extended) data |= 0x1000000;
  if (release) data |= 0xC0000000;
  return data;
}

struct KeyCase {
  const char* what;
  std::vector<int> down;
  std::vector<int> toggled;
  WPARAM virtualKey;
  LPARAM lParam;
  int expected;
};

const KeyCase kKeyCases[] = {
    {"a plain letter", {}, {}, 'A', KeyData(0x1E), 0},
    {"Shift held", {VK_SHIFT}, {}, 'A', KeyData(0x1E), EVENTFLAG_SHIFT_DOWN},
    {"Ctrl held", {VK_CONTROL}, {}, 'A', KeyData(0x1E), EVENTFLAG_CONTROL_DOWN},
    {"Alt held", {VK_MENU}, {}, 'A', KeyData(0x1E), EVENTFLAG_ALT_DOWN},
    {"Caps Lock on", {}, {VK_CAPITAL}, 'A', KeyData(0x1E), EVENTFLAG_CAPS_LOCK_ON},
    {"Num Lock on", {}, {VK_NUMLOCK}, 'A', KeyData(0x1E), EVENTFLAG_NUM_LOCK_ON},
    {"a held key is not a toggle", {VK_CAPITAL}, {}, 'A', KeyData(0x1E), 0},
    {"left Shift pressed", {VK_SHIFT, VK_LSHIFT}, {}, VK_SHIFT, KeyData(0x2A), EVENTFLAG_SHIFT_DOWN | EVENTFLAG_IS_LEFT},
    {"right Shift pressed", {VK_SHIFT, VK_RSHIFT}, {}, VK_SHIFT, KeyData(0x36),
     EVENTFLAG_SHIFT_DOWN | EVENTFLAG_IS_RIGHT},
    // The key is already up in the state when its release arrives.
    {"right Shift released", {}, {}, VK_SHIFT, KeyData(0x36, false, true), EVENTFLAG_IS_RIGHT},
    {"right Shift pressed while the left is held", {VK_SHIFT, VK_LSHIFT, VK_RSHIFT}, {}, VK_SHIFT, KeyData(0x36),
     EVENTFLAG_SHIFT_DOWN | EVENTFLAG_IS_RIGHT},
    {"left Ctrl", {VK_CONTROL}, {}, VK_CONTROL, KeyData(0x1D), EVENTFLAG_CONTROL_DOWN | EVENTFLAG_IS_LEFT},
    {"right Ctrl (extended)", {VK_CONTROL}, {}, VK_CONTROL, KeyData(0x1D, true),
     EVENTFLAG_CONTROL_DOWN | EVENTFLAG_IS_RIGHT},
    {"left Alt", {VK_MENU}, {}, VK_MENU, KeyData(0x38), EVENTFLAG_ALT_DOWN | EVENTFLAG_IS_LEFT},
    {"right Alt (extended)", {VK_MENU}, {}, VK_MENU, KeyData(0x38, true), EVENTFLAG_ALT_DOWN | EVENTFLAG_IS_RIGHT},
    {"left Windows key", {}, {}, VK_LWIN, KeyData(0x5B, true), EVENTFLAG_IS_LEFT},
    {"right Windows key", {}, {}, VK_RWIN, KeyData(0x5C, true), EVENTFLAG_IS_RIGHT},
    {"main Enter", {}, {}, VK_RETURN, KeyData(0x1C), 0},
    {"key pad Enter (extended)", {}, {}, VK_RETURN, KeyData(0x1C, true), EVENTFLAG_IS_KEY_PAD},
    {"key pad Up, Num Lock off", {}, {}, VK_UP, KeyData(0x48), EVENTFLAG_IS_KEY_PAD},
    {"arrow block Up (extended)", {}, {}, VK_UP, KeyData(0x48, true), 0},
    {"key pad Delete", {}, {}, VK_DELETE, KeyData(0x53), EVENTFLAG_IS_KEY_PAD},
    {"Delete of the block above the arrows", {}, {}, VK_DELETE, KeyData(0x53, true), 0},
    {"key pad 5, Num Lock on", {}, {VK_NUMLOCK}, VK_NUMPAD5, KeyData(0x4C),
     EVENTFLAG_IS_KEY_PAD | EVENTFLAG_NUM_LOCK_ON},
    {"key pad divide", {}, {}, VK_DIVIDE, KeyData(0x35, true), EVENTFLAG_IS_KEY_PAD},
    {"key pad 5, Num Lock off", {}, {}, VK_CLEAR, KeyData(0x4C), EVENTFLAG_IS_KEY_PAD},
    {"separator is not a key pad key", {}, {}, VK_SEPARATOR, KeyData(0x53), 0},
};

TEST(KeyModifierFlagsTest, FlagsFromKeyboardStateAndKeyPosition) {
  for (const KeyCase& c : kKeyCases) {
    SCOPED_TRACE(c.what);
    KeyboardState state(c.down, c.toggled);
    EXPECT_EQ(KeyModifierFlags(c.virtualKey, c.lParam), c.expected);
  }
}

struct CharCase {
  const char* what;
  WPARAM character;
  LPARAM lParam;
  int expected;
};

// A character's wParam is not a key code: "a" is 0x61 = VK_NUMPAD1 and "!" is
// 0x21 = VK_PRIOR, yet neither comes from the key pad.
const CharCase kCharCases[] = {
    {"a", 'a', KeyData(0x1E), 0},
    {"! (Shift+1)", '!', KeyData(0x02), 0},
    {"1 of the key pad", '1', KeyData(0x4F), EVENTFLAG_IS_KEY_PAD},
    {"* of the key pad", '*', KeyData(0x37), EVENTFLAG_IS_KEY_PAD},
    {"/ of the key pad (extended)", '/', KeyData(0x35, true), EVENTFLAG_IS_KEY_PAD},
    {"/ of the main block", '/', KeyData(0x35), 0},
    {"Enter of the key pad (extended)", '\r', KeyData(0x1C, true), EVENTFLAG_IS_KEY_PAD},
    {"main Enter", '\r', KeyData(0x1C), 0},
};

TEST(CharModifierFlagsTest, KeyPadFromTheScanCodeNotTheCharacter) {
  KeyboardState state({});
  for (const CharCase& c : kCharCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CharModifierFlags(c.character, c.lParam), c.expected);
  }
}

TEST(CharModifierFlagsTest, KeyboardStateApplies) {
  KeyboardState state({VK_SHIFT}, {VK_CAPITAL});
  EXPECT_EQ(CharModifierFlags('A', KeyData(0x1E)), EVENTFLAG_SHIFT_DOWN | EVENTFLAG_CAPS_LOCK_ON);
}

TEST(CharModifierFlagsTest, CharacterNoKeyTypesKeepsCtrlAndAltUnderRightAlt) {
  // VkKeyScanExW answers -1 for U+4E00 in every layout; -1 has all bits set,
  // Ctrl and Alt among them, and must not read as AltGr.
  KeyboardState state({VK_CONTROL, VK_LCONTROL, VK_MENU, VK_RMENU});
  EXPECT_EQ(CharModifierFlags(0x4E00, KeyData(0x10)), EVENTFLAG_CONTROL_DOWN | EVENTFLAG_ALT_DOWN);
}

struct AltGrCase {
  const char* what;
  SHORT keyScan;
  int expected;
};

constexpr int kCtrlAltNumLock = EVENTFLAG_CONTROL_DOWN | EVENTFLAG_ALT_DOWN | EVENTFLAG_NUM_LOCK_ON;

const AltGrCase kAltGrCases[] = {
    {"@ on a German layout: Ctrl+Alt+Q", 0x0651, EVENTFLAG_ALTGR_DOWN | EVENTFLAG_NUM_LOCK_ON},
    {"Ctrl+Alt+Shift", 0x0751, EVENTFLAG_ALTGR_DOWN | EVENTFLAG_NUM_LOCK_ON},
    {"@ on a US layout: Shift+2", 0x0132, kCtrlAltNumLock},
    {"Ctrl alone", 0x0251, kCtrlAltNumLock},
    {"no key types it", -1, kCtrlAltNumLock},
};

TEST(ApplyAltGrTest, CtrlAndAltBecomeAltGrWhenTheKeyNeedsBoth) {
  for (const AltGrCase& c : kAltGrCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ApplyAltGr(kCtrlAltNumLock, c.keyScan), c.expected);
  }
}

struct MouseCase {
  const char* what;
  std::vector<int> down;
  std::vector<int> toggled;
  WPARAM keyState;
  int expected;
};

const MouseCase kMouseCases[] = {
    {"nothing", {}, {}, 0, 0},
    {"MK_CONTROL", {}, {}, MK_CONTROL, EVENTFLAG_CONTROL_DOWN},
    {"MK_SHIFT", {}, {}, MK_SHIFT, EVENTFLAG_SHIFT_DOWN},
    {"Shift and Ctrl come from the message, not the keyboard", {VK_SHIFT, VK_CONTROL}, {}, 0, 0},
    {"Alt from the keyboard", {VK_MENU}, {}, 0, EVENTFLAG_ALT_DOWN},
    {"MK_LBUTTON", {}, {}, MK_LBUTTON, EVENTFLAG_LEFT_MOUSE_BUTTON},
    {"MK_MBUTTON", {}, {}, MK_MBUTTON, EVENTFLAG_MIDDLE_MOUSE_BUTTON},
    {"MK_RBUTTON", {}, {}, MK_RBUTTON, EVENTFLAG_RIGHT_MOUSE_BUTTON},
    {"locks", {}, {VK_NUMLOCK, VK_CAPITAL}, 0, EVENTFLAG_NUM_LOCK_ON | EVENTFLAG_CAPS_LOCK_ON},
    {"all buttons", {}, {}, MK_LBUTTON | MK_MBUTTON | MK_RBUTTON,
     EVENTFLAG_LEFT_MOUSE_BUTTON | EVENTFLAG_MIDDLE_MOUSE_BUTTON | EVENTFLAG_RIGHT_MOUSE_BUTTON},
};

TEST(MouseModifierFlagsTest, FlagsFromMessageBitsAndKeyboardState) {
  for (const MouseCase& c : kMouseCases) {
    SCOPED_TRACE(c.what);
    KeyboardState state(c.down, c.toggled);
    EXPECT_EQ(MouseModifierFlags(c.keyState), c.expected);
  }
}

}  // namespace
