#pragma once
// Engine event flags (EVENTFLAG_*) for window input messages, from the
// calling thread's keyboard state (GetKeyState) and the message's parameters.

#include <windows.h>

// WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP: `virtualKey` is the
// message's wParam, `lParam` its key data. Shift, Ctrl, Alt, Num Lock and Caps
// Lock from the keyboard state; key pad and left/right from the key itself
// (extended-key bit, scan code), so a key's release carries the same position
// as its press.
int KeyModifierFlags(WPARAM virtualKey, LPARAM lParam);

// WM_CHAR, WM_SYSCHAR: wParam is a character, not a key code (typing "a",
// 0x61, is not VK_NUMPAD1), so the key pad flag comes from the scan code in
// `lParam`. With the right Alt key down, a character the keyboard layout
// types with Ctrl+Alt is reported as AltGr instead of Ctrl and Alt.
int CharModifierFlags(WPARAM character, LPARAM lParam);

// The AltGr rule alone: `keyScan` is VkKeyScanExW's answer for the
// character (-1 when no key types it). Ctrl and Alt become AltGr when the
// key needs both.
int ApplyAltGr(int flags, SHORT keyScan);

// Mouse messages: `keyState` holds the MK_* bits (the low word of wParam).
int MouseModifierFlags(WPARAM keyState);
