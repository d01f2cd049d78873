#include "browser/input_forwarding.h"

#include <windowsx.h>

#include <utility>

namespace {

CefMouseEvent MouseEvent(int x, int y, WPARAM keyState) {
  CefMouseEvent event;
  event.x = x;
  event.y = y;
  event.modifiers = static_cast<uint32_t>(MouseModifierFlags(keyState));
  return event;
}

bool IsShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

}  // namespace

bool InputForwarder::ForwardMouseMessage(CefRefPtr<CefBrowserHost> host, HWND hwnd, UINT msg, WPARAM wParam,
                                         LPARAM lParam) {
  return ForwardMouseMessageAt(std::move(host), hwnd, msg, wParam, lParam, GetMessageTime());
}

bool InputForwarder::ForwardMouseMessageAt(CefRefPtr<CefBrowserHost> host, HWND hwnd, UINT msg, WPARAM wParam,
                                           LPARAM lParam, LONG messageTime) {
  if (!host) return false;
  switch (msg) {
    // A window class with CS_DBLCLKS turns every second press into a
    // double-click message; it is still a press, counted like any other.
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
      ForwardPress(*host, hwnd, MBT_LEFT, wParam, lParam, messageTime);
      break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
      ForwardPress(*host, hwnd, MBT_RIGHT, wParam, lParam, messageTime);
      break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
      ForwardPress(*host, hwnd, MBT_MIDDLE, wParam, lParam, messageTime);
      break;
    case WM_LBUTTONUP:
      ForwardRelease(*host, hwnd, MBT_LEFT, wParam, lParam);
      break;
    case WM_RBUTTONUP:
      ForwardRelease(*host, hwnd, MBT_RIGHT, wParam, lParam);
      break;
    case WM_MBUTTONUP:
      ForwardRelease(*host, hwnd, MBT_MIDDLE, wParam, lParam);
      break;
    case WM_MOUSEMOVE:
      ForwardMove(*host, hwnd, wParam, lParam, messageTime);
      break;
    case WM_MOUSELEAVE:
      ForwardLeave(*host, hwnd, wParam, messageTime);
      break;
    case WM_MOUSEWHEEL:
      ForwardWheel(*host, hwnd, wParam, lParam);
      break;
    default:
      break;
  }
  return false;
}

void InputForwarder::ForwardPress(CefBrowserHost& host, HWND hwnd, cef_mouse_button_type_t button, WPARAM wParam,
                                  LPARAM lParam, LONG messageTime) {
  // Capture keeps the release coming when it happens outside the window;
  // focus sends later typing to the page.
  SetCapture(hwnd);
  SetFocus(hwnd);
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  const int count = clicks_.Press(button, x, y, messageTime);
  host.SendMouseClickEvent(MouseEvent(x, y, wParam), button, false, count);
}

void InputForwarder::ForwardRelease(CefBrowserHost& host, HWND hwnd, cef_mouse_button_type_t button, WPARAM wParam,
                                    LPARAM lParam) {
  if (GetCapture() == hwnd) ReleaseCapture();
  host.SendMouseClickEvent(MouseEvent(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam), button, true,
                           clicks_.Release(button));
}

void InputForwarder::ForwardMove(CefBrowserHost& host, HWND hwnd, WPARAM wParam, LPARAM lParam, LONG messageTime) {
  if (!leaveTracked_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
    leaveTracked_ = TrackMouseEvent(&track) != FALSE;
  }
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  clicks_.Move(x, y, messageTime);
  host.SendMouseMoveEvent(MouseEvent(x, y, wParam), false);
}

void InputForwarder::ForwardLeave(CefBrowserHost& host, HWND hwnd, WPARAM wParam, LONG messageTime) {
  leaveTracked_ = false;
  POINT point{0, 0};
  GetCursorPos(&point);
  ScreenToClient(hwnd, &point);
  clicks_.Move(point.x, point.y, messageTime);
  host.SendMouseMoveEvent(MouseEvent(point.x, point.y, wParam), true);
}

void InputForwarder::ForwardWheel(CefBrowserHost& host, HWND hwnd, WPARAM wParam, LPARAM lParam) {
  // The wheel's point is on the screen. Over another window (one on top of
  // this one, or a transparent part of the page) the turn is not the page's.
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (WindowFromPoint(point) != hwnd || !ScreenToClient(hwnd, &point)) return;
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);  // unscaled: 120 a notch on ordinary wheels
  const CefMouseEvent event = MouseEvent(point.x, point.y, GET_KEYSTATE_WPARAM(wParam));
  if (IsShiftDown()) {
    host.SendMouseWheelEvent(event, delta, 0);  // Shift turns the wheel sideways
  } else {
    host.SendMouseWheelEvent(event, 0, delta);
  }
}

bool InputForwarder::ForwardKeyMessage(CefRefPtr<CefBrowserHost> host, HWND hwnd, UINT msg, WPARAM wParam,
                                       LPARAM lParam) {
  (void)hwnd;  // keys go to the page whichever window they came through
  if (!host) return false;
  CefKeyEvent event;
  switch (msg) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: event.type = KEYEVENT_RAWKEYDOWN; break;
    case WM_KEYUP: case WM_SYSKEYUP: event.type = KEYEVENT_KEYUP; break;
    case WM_CHAR: case WM_SYSCHAR: event.type = KEYEVENT_CHAR; break;
    default: return false;
  }
  event.windows_key_code = static_cast<int>(wParam);
  event.native_key_code = static_cast<int>(lParam);
  event.is_system_key = (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP || msg == WM_SYSCHAR) ? 1 : 0;
  if (event.type == KEYEVENT_CHAR) {
    event.modifiers = static_cast<uint32_t>(CharModifierFlags(wParam, lParam));
    // The engine types the character field; without it a character event
    // would type nothing.
    event.character = static_cast<wchar_t>(wParam);
  } else {
    event.modifiers = static_cast<uint32_t>(KeyModifierFlags(wParam, lParam));
  }
  host->SendKeyEvent(event);
  return false;
}
