#include "browser/key_modifiers.h"

#include "engine/include/cef_browser.h"

namespace {

constexpr LPARAM kExtendedKeyBit = 0x1000000;  // bit 24 of a key message's lParam
constexpr unsigned kRightShiftScanCode = 0x36;  // the left one is 0x2A; the same on every layout

bool IsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }
bool IsToggled(int virtualKey) { return (GetKeyState(virtualKey) & 1) != 0; }
bool IsExtended(LPARAM lParam) { return (lParam & kExtendedKeyBit) != 0; }
unsigned ScanCode(LPARAM lParam) { return static_cast<unsigned>(lParam >> 16) & 0xFF; }

int LockFlags() {
  int flags = 0;
  if (IsToggled(VK_NUMLOCK)) flags |= EVENTFLAG_NUM_LOCK_ON;
  if (IsToggled(VK_CAPITAL)) flags |= EVENTFLAG_CAPS_LOCK_ON;
  return flags;
}

int KeyboardStateFlags() {
  int flags = LockFlags();
  if (IsDown(VK_SHIFT)) flags |= EVENTFLAG_SHIFT_DOWN;
  if (IsDown(VK_CONTROL)) flags |= EVENTFLAG_CONTROL_DOWN;
  if (IsDown(VK_MENU)) flags |= EVENTFLAG_ALT_DOWN;
  return flags;
}

int SideFlag(bool right) { return right ? EVENTFLAG_IS_RIGHT : EVENTFLAG_IS_LEFT; }

int PositionFlags(WPARAM virtualKey, LPARAM lParam) {
  switch (virtualKey) {
    case VK_RETURN:  // the key pad's Enter is the extended one
      return IsExtended(lParam) ? EVENTFLAG_IS_KEY_PAD : 0;
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_LEFT: case VK_UP: case VK_RIGHT:
    case VK_DOWN: case VK_INSERT: case VK_DELETE:  // the separate block's keys are the extended ones
      return IsExtended(lParam) ? 0 : EVENTFLAG_IS_KEY_PAD;
    case VK_NUMPAD0: case VK_NUMPAD1: case VK_NUMPAD2: case VK_NUMPAD3: case VK_NUMPAD4: case VK_NUMPAD5:
    case VK_NUMPAD6: case VK_NUMPAD7: case VK_NUMPAD8: case VK_NUMPAD9: case VK_MULTIPLY: case VK_ADD:
    case VK_SUBTRACT: case VK_DECIMAL: case VK_DIVIDE: case VK_NUMLOCK: case VK_CLEAR:
      return EVENTFLAG_IS_KEY_PAD;
    case VK_SHIFT:
      return SideFlag(ScanCode(lParam) == kRightShiftScanCode);
    case VK_CONTROL: case VK_MENU:
      return SideFlag(IsExtended(lParam));
    case VK_LSHIFT: case VK_LCONTROL: case VK_LMENU: case VK_LWIN:
      return EVENTFLAG_IS_LEFT;
    case VK_RSHIFT: case VK_RCONTROL: case VK_RMENU: case VK_RWIN:
      return EVENTFLAG_IS_RIGHT;
    default:
      return 0;
  }
}

// Scan codes (set 1) of the key pad keys that type characters.
bool IsKeyPadScanCode(LPARAM lParam) {
  const unsigned scan = ScanCode(lParam);
  if (IsExtended(lParam)) return scan == 0x1C || scan == 0x35;  // Enter, divide
  return scan == 0x37 || (scan >= 0x47 && scan <= 0x53);        // multiply; 7 8 9 - 4 5 6 + 1 2 3 0 .
}

}  // namespace

int KeyModifierFlags(WPARAM virtualKey, LPARAM lParam) {
  return KeyboardStateFlags() | PositionFlags(virtualKey, lParam);
}

int ApplyAltGr(int flags, SHORT keyScan) {
  constexpr unsigned kCtrlAndAlt = 0x0600;  // shift-state bits 2 (Ctrl) and 4 (Alt) in the high byte
  if (keyScan == -1 || (static_cast<unsigned>(keyScan) & kCtrlAndAlt) != kCtrlAndAlt) return flags;
  return (flags & ~(EVENTFLAG_CONTROL_DOWN | EVENTFLAG_ALT_DOWN)) | EVENTFLAG_ALTGR_DOWN;
}

int CharModifierFlags(WPARAM character, LPARAM lParam) {
  int flags = KeyboardStateFlags();
  if (IsKeyPadScanCode(lParam)) flags |= EVENTFLAG_IS_KEY_PAD;
  if (IsDown(VK_RMENU)) {
    flags = ApplyAltGr(flags, VkKeyScanExW(static_cast<WCHAR>(character), GetKeyboardLayout(0)));
  }
  return flags;
}

int MouseModifierFlags(WPARAM keyState) {
  int flags = LockFlags();
  if (keyState & MK_CONTROL) flags |= EVENTFLAG_CONTROL_DOWN;
  if (keyState & MK_SHIFT) flags |= EVENTFLAG_SHIFT_DOWN;
  if (IsDown(VK_MENU)) flags |= EVENTFLAG_ALT_DOWN;
  if (keyState & MK_LBUTTON) flags |= EVENTFLAG_LEFT_MOUSE_BUTTON;
  if (keyState & MK_MBUTTON) flags |= EVENTFLAG_MIDDLE_MOUSE_BUTTON;
  if (keyState & MK_RBUTTON) flags |= EVENTFLAG_RIGHT_MOUSE_BUTTON;
  return flags;
}
