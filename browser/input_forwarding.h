#pragma once
// Mouse and keyboard messages of the layered window, turned into the page's
// input on the browser host. Coordinates are client pixels, passed on
// unchanged (one view unit is one client pixel).
//
// Both Forward functions return true when the message was consumed (the
// window procedure then returns 0) and false to let it go on to
// DefWindowProcW. Every message handled here still wants the default
// processing (Alt+F4 and the system menu from WM_SYSKEYDOWN, WM_CONTEXTMENU
// from WM_RBUTTONUP), so today they all answer false.
//
// UI thread only; one forwarder per window.

#include <windows.h>

#include "browser/click_counter.h"
#include "browser/key_modifiers.h"
#include "browser/page_cursors.h"
#include "engine/include/cef_browser.h"

class InputForwarder {
 public:
  // WM_MOUSEMOVE, WM_[LRM]BUTTONDOWN/UP (and the DBLCLK forms, taken as
  // presses), WM_MOUSEWHEEL, WM_MOUSELEAVE. Other messages and a null host
  // are ignored.
  bool ForwardMouseMessage(CefRefPtr<CefBrowserHost> host, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  // The same, with the message's time given instead of read from
  // GetMessageTime (the clock that multiple clicks are counted by).
  bool ForwardMouseMessageAt(CefRefPtr<CefBrowserHost> host, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                             LONG messageTime);

  // WM_KEYDOWN, WM_KEYUP, WM_CHAR and their WM_SYS* forms. Other messages
  // and a null host are ignored.
  bool ForwardKeyMessage(CefRefPtr<CefBrowserHost> host, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void ForwardPress(CefBrowserHost& host, HWND hwnd, cef_mouse_button_type_t button, WPARAM wParam, LPARAM lParam,
                    LONG messageTime);
  void ForwardRelease(CefBrowserHost& host, HWND hwnd, cef_mouse_button_type_t button, WPARAM wParam,
                      LPARAM lParam);
  void ForwardMove(CefBrowserHost& host, HWND hwnd, WPARAM wParam, LPARAM lParam, LONG messageTime);
  void ForwardLeave(CefBrowserHost& host, HWND hwnd, WPARAM wParam, LONG messageTime);
  static void ForwardWheel(CefBrowserHost& host, HWND hwnd, WPARAM wParam, LPARAM lParam);

  ClickCounter clicks_;
  // The system stops leave tracking when it posts WM_MOUSELEAVE; the next
  // move asks for it again.
  bool leaveTracked_ = false;
};
