#pragma once
// The client of a browser and its handler interfaces. Every method has the
// framework's default behaviour, so a client overrides only what it needs.

#include <vector>

#include "engine/include/cef_browser.h"
#include "engine/include/cef_values.h"

class CefRenderHandler;
class CefDisplayHandler;
class CefLifeSpanHandler;
class CefLoadHandler;
class CefRequestHandler;
class CefContextMenuHandler;
class CefDownloadHandler;

class CefClient : public virtual CefBaseRefCounted {
 public:
  virtual CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() { return nullptr; }
  virtual CefRefPtr<CefDisplayHandler> GetDisplayHandler() { return nullptr; }
  virtual CefRefPtr<CefDownloadHandler> GetDownloadHandler() { return nullptr; }
  virtual CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() { return nullptr; }
  virtual CefRefPtr<CefLoadHandler> GetLoadHandler() { return nullptr; }
  virtual CefRefPtr<CefRenderHandler> GetRenderHandler() { return nullptr; }
  virtual CefRefPtr<CefRequestHandler> GetRequestHandler() { return nullptr; }
  // A message the renderer side sent to the browser process.
  virtual bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                        cef_process_id_t source_process, CefRefPtr<CefProcessMessage> message) {
    (void)browser, (void)frame, (void)source_process, (void)message;
    return false;
  }
};

// Off-screen rendering: where the view is and what it shows.
class CefRenderHandler : public virtual CefBaseRefCounted {
 public:
  // The view's size in screen pixels (the position is not used).
  virtual void GetViewRect(CefRefPtr<CefBrowser> browser, CefRect& rect) = 0;
  virtual bool GetScreenPoint(CefRefPtr<CefBrowser> browser, int viewX, int viewY, int& screenX, int& screenY) {
    (void)browser, (void)viewX, (void)viewY, (void)screenX, (void)screenY;
    return false;
  }
  // A new frame: premultiplied 32-bit BGRA, top-down rows of width * 4 bytes.
  virtual void OnPaint(CefRefPtr<CefBrowser> browser, cef_paint_element_type_t type,
                       const std::vector<CefRect>& dirtyRects, const void* buffer, int width, int height) = 0;
  // Where the characters of the current composition are, in view coordinates.
  virtual void OnImeCompositionRangeChanged(CefRefPtr<CefBrowser> browser, const CefRange& selected_range,
                                            const std::vector<CefRect>& character_bounds) {
    (void)browser, (void)selected_range, (void)character_bounds;
  }
};

enum cef_cursor_type_t {
  CT_POINTER = 0, CT_CROSS, CT_HAND, CT_IBEAM, CT_WAIT, CT_HELP, CT_EASTRESIZE, CT_NORTHRESIZE,
  CT_NORTHEASTRESIZE, CT_NORTHWESTRESIZE, CT_SOUTHRESIZE, CT_SOUTHEASTRESIZE, CT_SOUTHWESTRESIZE,
  CT_WESTRESIZE, CT_NORTHSOUTHRESIZE, CT_EASTWESTRESIZE, CT_NORTHEASTSOUTHWESTRESIZE,
  CT_NORTHWESTSOUTHEASTRESIZE, CT_COLUMNRESIZE, CT_ROWRESIZE, CT_MIDDLEPANNING, CT_EASTPANNING,
  CT_NORTHPANNING, CT_NORTHEASTPANNING, CT_NORTHWESTPANNING, CT_SOUTHPANNING, CT_SOUTHEASTPANNING,
  CT_SOUTHWESTPANNING, CT_WESTPANNING, CT_MOVE, CT_VERTICALTEXT, CT_CELL, CT_CONTEXTMENU, CT_ALIAS,
  CT_PROGRESS, CT_NODROP, CT_COPY, CT_NONE, CT_NOTALLOWED, CT_ZOOMIN, CT_ZOOMOUT, CT_GRAB, CT_GRABBING,
  CT_MIDDLE_PANNING_VERTICAL, CT_MIDDLE_PANNING_HORIZONTAL, CT_CUSTOM,
};

struct CefCursorInfo {};

typedef HCURSOR CefCursorHandle;

class CefDisplayHandler : public virtual CefBaseRefCounted {
 public:
  virtual void OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title) { (void)browser, (void)title; }
  // The page's cursor changed; return true when the handler set it.
  virtual bool OnCursorChange(CefRefPtr<CefBrowser> browser, CefCursorHandle cursor, cef_cursor_type_t type,
                              const CefCursorInfo& custom_cursor_info) {
    (void)browser, (void)cursor, (void)type, (void)custom_cursor_info;
    return false;
  }
};

enum cef_window_open_disposition_t { WOD_UNKNOWN = 0, WOD_CURRENT_TAB, WOD_NEW_FOREGROUND_TAB = 3,
                                     WOD_NEW_BACKGROUND_TAB, WOD_NEW_POPUP, WOD_NEW_WINDOW };

class CefLifeSpanHandler : public virtual CefBaseRefCounted {
 public:
  // A page asks for a popup (window.open, a link with a target). Return true to refuse it.
  virtual bool OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, const CefString& target_url,
                             const CefString& target_frame_name, cef_window_open_disposition_t target_disposition,
                             bool user_gesture) {
    (void)browser, (void)frame, (void)target_url, (void)target_frame_name, (void)target_disposition,
        (void)user_gesture;
    return false;
  }
  virtual void OnAfterCreated(CefRefPtr<CefBrowser> browser) { (void)browser; }
  // The browser is about to close; return false to let the close go on.
  virtual bool DoClose(CefRefPtr<CefBrowser> browser) {
    (void)browser;
    return false;
  }
  virtual void OnBeforeClose(CefRefPtr<CefBrowser> browser) { (void)browser; }
};

enum cef_transition_type_t { TT_LINK = 0, TT_EXPLICIT = 1, TT_RELOAD = 8 };
typedef int cef_errorcode_t;
enum { ERR_NONE = 0, ERR_FAILED = -2, ERR_ABORTED = -3 };

class CefLoadHandler : public virtual CefBaseRefCounted {
 public:
  virtual void OnLoadingStateChange(CefRefPtr<CefBrowser> browser, bool isLoading, bool canGoBack,
                                    bool canGoForward) {
    (void)browser, (void)isLoading, (void)canGoBack, (void)canGoForward;
  }
  virtual void OnLoadStart(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                           cef_transition_type_t transition_type) {
    (void)browser, (void)frame, (void)transition_type;
  }
  virtual void OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode) {
    (void)browser, (void)frame, (void)httpStatusCode;
  }
  virtual void OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, cef_errorcode_t errorCode,
                           const CefString& errorText, const CefString& failedUrl) {
    (void)browser, (void)frame, (void)errorCode, (void)errorText, (void)failedUrl;
  }
};

class CefRequestHandler : public virtual CefBaseRefCounted {};

enum cef_context_menu_type_flags_t {
  CM_TYPEFLAG_NONE = 0,
  CM_TYPEFLAG_PAGE = 1 << 0,
  CM_TYPEFLAG_FRAME = 1 << 1,
  CM_TYPEFLAG_LINK = 1 << 2,
  CM_TYPEFLAG_MEDIA = 1 << 3,
  CM_TYPEFLAG_SELECTION = 1 << 4,
  CM_TYPEFLAG_EDITABLE = 1 << 5,
};

enum cef_menu_id_t {
  MENU_ID_UNDO = 100, MENU_ID_REDO = 101, MENU_ID_CUT = 102, MENU_ID_COPY = 103, MENU_ID_PASTE = 104,
  MENU_ID_DELETE = 105, MENU_ID_SELECT_ALL = 106,
};

class CefContextMenuParams : public virtual CefBaseRefCounted {
 public:
  virtual int GetXCoord() = 0;
  virtual int GetYCoord() = 0;
  virtual cef_context_menu_type_flags_t GetTypeFlags() = 0;
  virtual bool IsEditable() = 0;
};

// The items of a context menu: command ids with their labels.
class CefMenuModel : public virtual CefBaseRefCounted {
 public:
  virtual bool Clear() = 0;
  virtual size_t GetCount() = 0;
  virtual bool AddItem(int command_id, const CefString& label) = 0;
  virtual bool AddSeparator() = 0;
  virtual int GetCommandIdAt(size_t index) = 0;
  virtual CefString GetLabelAt(size_t index) = 0;
  virtual bool Remove(int command_id) = 0;
};

class CefContextMenuHandler : public virtual CefBaseRefCounted {
 public:
  virtual void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                   CefRefPtr<CefContextMenuParams> params, CefRefPtr<CefMenuModel> model) {
    (void)browser, (void)frame, (void)params, (void)model;
  }
  // Return true when the handler ran the command itself.
  virtual bool OnContextMenuCommand(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                    CefRefPtr<CefContextMenuParams> params, int command_id, int event_flags) {
    (void)browser, (void)frame, (void)params, (void)command_id, (void)event_flags;
    return false;
  }
};

class CefDownloadItem : public virtual CefBaseRefCounted {
 public:
  virtual CefString GetURL() = 0;
};

class CefBeforeDownloadCallback : public virtual CefBaseRefCounted {
 public:
  virtual void Continue(const CefString& download_path, bool show_dialog) = 0;
};

class CefDownloadHandler : public virtual CefBaseRefCounted {
 public:
  // Downloads are refused by the layer whatever the handler does.
  virtual void OnBeforeDownload(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                                const CefString& suggested_name, CefRefPtr<CefBeforeDownloadCallback> callback) {
    (void)browser, (void)download_item, (void)suggested_name, (void)callback;
  }
};
