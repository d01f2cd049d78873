#include "browser/osr_client.h"

#include "browser/context_menu_policy.h"
#include "browser/ime_routing.h"
#include "browser/imm_api.h"
#include "browser/page_zoom.h"
#include "browser/web_window.h"
#include "engine/include/cef_task.h"

namespace {

// OnLoadStart again, on the UI thread; holds the browser, frame and client until it has run.
class LoadStartTask : public CefTask {
 public:
  LoadStartTask(CefRefPtr<OsrClient> client, CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                cef_transition_type_t transition)
      : client_(client), browser_(browser), frame_(frame), transition_(transition) {}
  void Execute() override { client_->OnLoadStart(browser_, frame_, transition_); }

 private:
  CefRefPtr<OsrClient> client_;
  CefRefPtr<CefBrowser> browser_;
  CefRefPtr<CefFrame> frame_;
  cef_transition_type_t transition_;
  IMPLEMENT_REFCOUNTING(LoadStartTask);
};

}  // namespace

CefRefPtr<CefBrowserHost> OsrClient::Host() const {
  CefRefPtr<CefBrowser> browser = browser_;
  return browser ? browser->GetHost() : nullptr;
}

void OsrClient::AttachWindow(HWND window) {
  window_ = window;
  attached_ = true;
  surface_.Attach(window);
  imeHandler_ = std::make_unique<ImeHandler>(window, CreateSystemImmApi());
}

void OsrClient::OnImeCompositionRangeChanged(CefRefPtr<CefBrowser>, const CefRange& selected_range,
                                             const std::vector<CefRect>& character_bounds) {
  if (imeHandler_) imeHandler_->SetCompositionRange(selected_range, character_bounds);
}

LRESULT OsrClient::RouteWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT imeResult = 0;
  if (RouteImeMessage(window, message, wParam, lParam, Host(), imeHandler_.get(), imeResult)) return imeResult;
  switch (message) {
    case WM_SIZE:
      if (CefRefPtr<CefBrowserHost> host = Host()) host->WasResized();
      break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (CefRefPtr<CefBrowserHost> host = Host()) host->SendCaptureLostEvent();
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      if (CefRefPtr<CefBrowserHost> host = Host(); host && input_.ForwardKeyMessage(host, window, message, wParam, lParam))
        return 0;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_MOUSELEAVE:
      if (CefRefPtr<CefBrowserHost> host = Host();
          host && input_.ForwardMouseMessage(host, window, message, wParam, lParam))
        return 0;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool OsrClient::OnProcessMessageReceived(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, cef_process_id_t,
                                         CefRefPtr<CefProcessMessage> message) {
  return owner_ ? owner_->OnScriptCall(message) : false;
}

void OsrClient::OnTitleChange(CefRefPtr<CefBrowser>, const CefString& title) {
  if (owner_) owner_->OnPageTitleChange(title.ToWString());
}

bool OsrClient::OnCursorChange(CefRefPtr<CefBrowser>, CefCursorHandle cursor, cef_cursor_type_t type,
                               const CefCursorInfo&) {
  if (!IsWindow(window_)) return false;
  const HCURSOR shown = cursor ? cursor : CursorForType(type);
  // As the class cursor, the system shows it again on every WM_SETCURSOR.
  SetClassLongPtrW(window_, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(shown));
  SetCursor(shown);
  return false;
}

bool OsrClient::OnBeforePopup(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame, const CefString& target_url,
                              const CefString&, cef_window_open_disposition_t, bool) {
  // No second window: the target opens where it was asked for.
  if (frame) frame->LoadURL(target_url);
  return true;
}

void OsrClient::OnAfterCreated(CefRefPtr<CefBrowser> browser) {
  if (!browser_) browser_ = browser;
}

bool OsrClient::DoClose(CefRefPtr<CefBrowser>) {
  isClosing_ = true;
  return false;
}

void OsrClient::OnLoadStart(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                            cef_transition_type_t transition_type) {
  if (!CefCurrentlyOn(TID_UI)) {
    CefPostTask(TID_UI, new LoadStartTask(this, browser, frame, transition_type));
    return;
  }
  CefRefPtr<CefBrowserHost> ownHost = Host();
  const HWND pageWindow = ownHost ? ownHost->GetWindowHandle() : nullptr;
  if (browser) browser->GetHost()->SetZoomLevel(ZoomLevelForWindow(pageWindow));
}

void OsrClient::OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode) {
  if (owner_) owner_->OnPageLoadEnd(browser, frame, httpStatusCode);
}

void OsrClient::OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, cef_errorcode_t errorCode,
                            const CefString& errorText, const CefString& failedUrl) {
  if (owner_) owner_->OnPageLoadError(browser, frame, errorCode, errorText, failedUrl);
}

void OsrClient::OnBeforeContextMenu(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, CefRefPtr<CefContextMenuParams> params,
                                    CefRefPtr<CefMenuModel> model) {
  if (params && model && ShouldClearContextMenu(params->GetTypeFlags(), model->GetCount())) model->Clear();
}

void OsrClient::GetViewRect(CefRefPtr<CefBrowser>, CefRect& rect) {
  RECT client{};
  GetClientRect(window_, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  rect = CefRect(0, 0, width > 0 ? width : 1, height > 0 ? height : 1);
}

bool OsrClient::GetScreenPoint(CefRefPtr<CefBrowser>, int viewX, int viewY, int& screenX, int& screenY) {
  if (!IsWindow(window_)) return false;
  POINT point{viewX, viewY};
  ClientToScreen(window_, &point);
  screenX = point.x;
  screenY = point.y;
  return true;
}

void OsrClient::OnPaint(CefRefPtr<CefBrowser>, cef_paint_element_type_t, const std::vector<CefRect>& dirtyRects,
                        const void* buffer, int width, int height) {
  // Only a windowless client has a surface to show frames on.
  if (!attached_) return;
  surface_.Paint(dirtyRects, buffer, width, height);
  surface_.Present();
}
