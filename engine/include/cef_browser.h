#pragma once
// A browser (one page) and its host side: size, input, zoom, closing.

#include <vector>

#include "engine/include/cef_base.h"
#include "engine/include/cef_frame.h"

class CefClient;
class CefBrowserHost;

enum cef_event_flags_t {
  EVENTFLAG_NONE = 0,
  EVENTFLAG_CAPS_LOCK_ON = 1 << 0,
  EVENTFLAG_SHIFT_DOWN = 1 << 1,
  EVENTFLAG_CONTROL_DOWN = 1 << 2,
  EVENTFLAG_ALT_DOWN = 1 << 3,
  EVENTFLAG_LEFT_MOUSE_BUTTON = 1 << 4,
  EVENTFLAG_MIDDLE_MOUSE_BUTTON = 1 << 5,
  EVENTFLAG_RIGHT_MOUSE_BUTTON = 1 << 6,
  EVENTFLAG_COMMAND_DOWN = 1 << 7,
  EVENTFLAG_NUM_LOCK_ON = 1 << 8,
  EVENTFLAG_IS_KEY_PAD = 1 << 9,
  EVENTFLAG_IS_LEFT = 1 << 10,
  EVENTFLAG_IS_RIGHT = 1 << 11,
  EVENTFLAG_ALTGR_DOWN = 1 << 12,
  EVENTFLAG_IS_REPEAT = 1 << 13,
};

enum cef_mouse_button_type_t { MBT_LEFT = 0, MBT_MIDDLE, MBT_RIGHT };

struct CefMouseEvent {
  int x = 0;
  int y = 0;
  uint32_t modifiers = 0;
};

enum cef_key_event_type_t { KEYEVENT_RAWKEYDOWN = 0, KEYEVENT_KEYDOWN, KEYEVENT_KEYUP, KEYEVENT_CHAR };

struct CefKeyEvent {
  cef_key_event_type_t type = KEYEVENT_RAWKEYDOWN;
  uint32_t modifiers = 0;
  int windows_key_code = 0;
  int native_key_code = 0;
  int is_system_key = 0;
  wchar_t character = 0;
  wchar_t unmodified_character = 0;
  int focus_on_editable_field = 0;
};

enum cef_composition_underline_style_t { CEF_CUS_SOLID = 0, CEF_CUS_DOT, CEF_CUS_DASH, CEF_CUS_NONE };

struct CefCompositionUnderline {
  CefRange range;
  cef_color_t color = 0;
  cef_color_t background_color = 0;
  int thick = 0;
  cef_composition_underline_style_t style = CEF_CUS_SOLID;
};

struct CefWindowInfo {
  HWND parent_window = nullptr;
  CefRect bounds;
  DWORD style = 0;
  DWORD ex_style = 0;
  std::wstring window_name;
  int windowless_rendering_enabled = 0;
  int shared_texture_enabled = 0;
  int external_begin_frame_enabled = 0;
  HWND window = nullptr;

  void SetAsWindowless(HWND parent) {
    windowless_rendering_enabled = 1;
    parent_window = parent;
  }
  void SetAsChild(HWND parent, const CefRect& rect) {
    parent_window = parent;
    bounds = rect;
    style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE;
  }
  void SetAsPopup(HWND parent, const CefString& name) {
    parent_window = parent;
    window_name = name.ToWString();
    style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE;
  }
};

enum cef_state_t { STATE_DEFAULT = 0, STATE_ENABLED, STATE_DISABLED };

struct CefBrowserSettings {
  int windowless_frame_rate = 30;
  cef_color_t background_color = 0;
  cef_state_t javascript = STATE_DEFAULT;
  cef_state_t local_storage = STATE_DEFAULT;
  cef_state_t databases = STATE_DEFAULT;
  cef_state_t web_security = STATE_DEFAULT;
};

// Not used by the layer: browsers take none.
class CefDictionaryValue : public virtual CefBaseRefCounted {};
class CefRequestContext : public virtual CefBaseRefCounted {};

class CefBrowser : public virtual CefBaseRefCounted {
 public:
  virtual CefRefPtr<CefBrowserHost> GetHost() = 0;
  virtual int GetIdentifier() = 0;
  virtual bool IsSame(CefRefPtr<CefBrowser> that) = 0;
  virtual bool IsLoading() = 0;
  virtual void Reload() = 0;
  virtual CefRefPtr<CefFrame> GetMainFrame() = 0;
  virtual CefRefPtr<CefFrame> GetFocusedFrame() = 0;
};

class CefBrowserHost : public virtual CefBaseRefCounted {
 public:
  // Creates a browser for the client and loads the address. Off-screen only:
  // the page's pixels reach the client's render handler.
  static CefRefPtr<CefBrowser> CreateBrowserSync(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                                 const CefString& url, const CefBrowserSettings& settings,
                                                 CefRefPtr<CefDictionaryValue> extra_info,
                                                 CefRefPtr<CefRequestContext> request_context);

  virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
  virtual void CloseBrowser(bool force_close) = 0;
  virtual HWND GetWindowHandle() = 0;
  virtual CefRefPtr<CefClient> GetClient() = 0;
  virtual void SetFocus(bool focus) = 0;
  virtual double GetZoomLevel() = 0;
  virtual void SetZoomLevel(double zoomLevel) = 0;
  virtual void WasResized() = 0;
  virtual void WasHidden(bool hidden) = 0;
  virtual void Invalidate(cef_paint_element_type_t type) = 0;
  virtual void SetWindowlessFrameRate(int frame_rate) = 0;
  virtual void ShowDevTools(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                            const CefBrowserSettings& settings, const CefPoint& inspect_element_at) = 0;

  virtual void SendKeyEvent(const CefKeyEvent& event) = 0;
  virtual void SendMouseClickEvent(const CefMouseEvent& event, cef_mouse_button_type_t type, bool mouseUp,
                                   int clickCount) = 0;
  virtual void SendMouseMoveEvent(const CefMouseEvent& event, bool mouseLeave) = 0;
  virtual void SendMouseWheelEvent(const CefMouseEvent& event, int deltaX, int deltaY) = 0;
  virtual void SendCaptureLostEvent() = 0;

  virtual void ImeSetComposition(const CefString& text, const std::vector<CefCompositionUnderline>& underlines,
                                 const CefRange& replacement_range, const CefRange& selection_range) = 0;
  virtual void ImeCommitText(const CefString& text, const CefRange& replacement_range, int relative_cursor_pos) = 0;
  virtual void ImeFinishComposingText(bool keep_selection) = 0;
  virtual void ImeCancelComposition() = 0;
};
