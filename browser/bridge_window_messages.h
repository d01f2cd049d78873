#pragma once
// Window messages that carry the bridge's traffic to the page through the
// WebWindow's own window procedure, so that it always leaves from the window's
// thread. Both are sent (SendMessageW); the text behind lParam belongs to the
// sender and is read only while the message is handled.

#include <windows.h>

// wParam: callback id (a 32-bit int); lParam: NUL-terminated UTF-16 reply
// text or NULL. Result 1 when the reply went to the page, 0 when dropped.
inline constexpr UINT WM_SCRIPT_REPLY = 0x1214;

// wParam: must be kEvalScriptKey; lParam: NUL-terminated UTF-16 script or
// NULL. Result 1 when the script went to the page, 0 otherwise.
inline constexpr UINT WM_EVAL_SCRIPT = 0x1211;
inline constexpr WPARAM kEvalScriptKey = 0x1212;
