#pragma once
// The one client of the browser a WebWindow hosts: keeps the browser, relays
// the page's events to its owning window, decides the policies for popups,
// context menus, downloads and closing, and in windowless mode shows the
// page's frames on the layered window and turns window messages into the
// page's input.

#include <windows.h>

#include <memory>

#include "browser/ime_handler.h"
#include "browser/input_forwarding.h"
#include "browser/layered_surface.h"
#include "engine/include/cef_client.h"

class WebWindow;

class OsrClient : public CefClient,
                  public CefDisplayHandler,
                  public CefLifeSpanHandler,
                  public CefLoadHandler,
                  public CefRequestHandler,
                  public CefContextMenuHandler,
                  public CefDownloadHandler,
                  public CefRenderHandler {
 public:
  explicit OsrClient(WebWindow* owner) : owner_(owner) {}

  OsrClient(const OsrClient&) = delete;
  OsrClient& operator=(const OsrClient&) = delete;

  CefRefPtr<CefBrowser> browser() const { return browser_; }
  void SetBrowser(CefRefPtr<CefBrowser> browser) { browser_ = browser; }
  HWND window() const { return window_; }
  void SetWindow(HWND window) { window_ = window; }
  // Set once the browser has agreed to close (DoClose).
  bool IsClosing() const { return isClosing_; }
  // The owner is going away: page events stop reaching it.
  void DetachOwner() { owner_ = nullptr; }

  // Windowless mode: binds the window whose surface shows the frames.
  // Called before the browser is created.
  void AttachWindow(HWND window);

  // Every window message the WebWindow does not handle itself: size, capture,
  // keyboard and mouse go to the page; the rest to DefWindowProcW.
  LRESULT RouteWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // CefClient
  CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() override { return this; }
  CefRefPtr<CefDisplayHandler> GetDisplayHandler() override { return this; }
  CefRefPtr<CefDownloadHandler> GetDownloadHandler() override { return this; }
  CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
  CefRefPtr<CefRenderHandler> GetRenderHandler() override { return this; }
  bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                cef_process_id_t source_process, CefRefPtr<CefProcessMessage> message) override;

  // CefDisplayHandler
  void OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title) override;
  bool OnCursorChange(CefRefPtr<CefBrowser> browser, CefCursorHandle cursor, cef_cursor_type_t type,
                      const CefCursorInfo& custom_cursor_info) override;

  // CefLifeSpanHandler
  bool OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, const CefString& target_url,
                     const CefString& target_frame_name, cef_window_open_disposition_t target_disposition,
                     bool user_gesture) override;
  void OnAfterCreated(CefRefPtr<CefBrowser> browser) override;
  bool DoClose(CefRefPtr<CefBrowser> browser) override;

  // CefLoadHandler
  void OnLoadStart(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                   cef_transition_type_t transition_type) override;
  void OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode) override;
  void OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, cef_errorcode_t errorCode,
                   const CefString& errorText, const CefString& failedUrl) override;

  // CefContextMenuHandler
  void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                           CefRefPtr<CefContextMenuParams> params, CefRefPtr<CefMenuModel> model) override;

  // CefRenderHandler
  void GetViewRect(CefRefPtr<CefBrowser> browser, CefRect& rect) override;
  bool GetScreenPoint(CefRefPtr<CefBrowser> browser, int viewX, int viewY, int& screenX, int& screenY) override;
  void OnPaint(CefRefPtr<CefBrowser> browser, cef_paint_element_type_t type, const std::vector<CefRect>& dirtyRects,
               const void* buffer, int width, int height) override;
  void OnImeCompositionRangeChanged(CefRefPtr<CefBrowser> browser, const CefRange& selected_range,
                                    const std::vector<CefRect>& character_bounds) override;

 private:
  ~OsrClient() override = default;
  CefRefPtr<CefBrowserHost> Host() const;

  CefRefPtr<CefBrowser> browser_;
  HWND window_ = nullptr;
  WebWindow* owner_;  // outlives its use: the WebWindow detaches itself before it goes
  LayeredSurface surface_;
  InputForwarder input_;
  std::unique_ptr<ImeHandler> imeHandler_;  // windowless: made by AttachWindow
  bool attached_ = false;  // windowless: AttachWindow was called
  bool isClosing_ = false;
  IMPLEMENT_REFCOUNTING(OsrClient);
};
