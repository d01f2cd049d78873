#pragma once
// A top-level window hosting one browser. It registers its window class,
// creates the window and the browser (with an OsrClient as the browser's
// client) and owns the window procedure, which offers every message to
// OnWindowMessage first, handles closing, the maximised size, DPI changes and
// the bridge's messages itself, and hands the rest to the client's input
// routing.

#include <windows.h>

#include <string>

#include "browser/osr_client.h"
#include "engine/include/cef_browser.h"

enum class WindowKind {
  Overlapped = 0,  // WS_OVERLAPPEDWINDOW, a browser child window
  Popup = 1,       // the layered kind's styles plus WS_THICKFRAME, a browser child window
  Layered = 2,     // borderless WS_POPUP with WS_EX_LAYERED: a windowless browser shown with per-pixel alpha
  Child = 3,       // WS_CHILD, a browser child window
};

class WebWindow {
 public:
  WebWindow() = default;
  // Closes the window (when a client exists) and lets the client go.
  virtual ~WebWindow();

  WebWindow(const WebWindow&) = delete;
  WebWindow& operator=(const WebWindow&) = delete;

  // Creates the window and its browser showing url ("about:blank" for NULL;
  // an empty address loads nothing). An earlier window of this object is
  // closed first. False on failure; when the window was made but the browser
  // was not, a WM_CLOSE is posted to the window.
  bool Create(HWND parent, WindowKind kind, const wchar_t* className, const wchar_t* title, int x, int y, int width,
              int height, const wchar_t* url);

  BOOL Show(bool show);
  // Set only once the browser was created.
  HWND GetHwnd() const { return hwnd_; }
  // Whether this object has a window, also one whose browser could not be created.
  bool HasWindow() const;

  // A reply for the page's callback, sent as WM_SCRIPT_REPLY through the
  // window; the result is the window procedure's (1 sent, 0 dropped).
  LRESULT SendScriptReply(int callbackId, const wchar_t* text);
  // A script for the page, sent as WM_EVAL_SCRIPT through the window.
  LRESULT EvalScript(const wchar_t* script);

  // Hooks for the page's events and the window's messages (defaults do nothing).
  virtual bool OnScriptCall(CefRefPtr<CefProcessMessage> message);
  virtual bool OnPageLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int errorCode,
                               const CefString& errorText, const CefString& failedUrl);
  virtual void OnPageLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode);
  // Sees every message before the window procedure; set *handled to claim it.
  virtual LRESULT OnWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);
  virtual bool OnPageTitleChange(const std::wstring& title);

 private:
  static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleClose(HWND hwnd);
  bool CreateBrowser(HWND window, WindowKind kind, int x, int y, int width, int height, const wchar_t* url);
  void CloseExistingWindow();

  CefRefPtr<OsrClient> client_;
  bool layered_ = false;
  bool closing_ = false;
  HWND hwnd_ = nullptr;
};
