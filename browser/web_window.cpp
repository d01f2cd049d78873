#include "browser/web_window.h"

#include "browser/bridge_window_messages.h"
#include "browser/page_messages.h"
#include "browser/page_zoom.h"
#include "browser/window_styles.h"

namespace {

// The window's extra bytes hold the pointer back to its WebWindow.
constexpr int kBackPointerIndex = 0;

WebWindow* BackPointer(HWND hwnd) {
  return reinterpret_cast<WebWindow*>(GetWindowLongPtrW(hwnd, kBackPointerIndex));
}

// IDI_* and IDC_* are integer resource ids, spelled as ANSI strings by the headers.
LPCWSTR SystemResource(LPCSTR id) { return reinterpret_cast<LPCWSTR>(id); }

void RegisterWindowClass(const wchar_t* className, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = 0;  // no CS_DBLCLKS: the page counts its own clicks
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = sizeof(WebWindow*);
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hIcon = LoadIconW(nullptr, SystemResource(IDI_APPLICATION));
  windowClass.hIconSm = LoadIconW(nullptr, SystemResource(IDI_APPLICATION));
  windowClass.hCursor = LoadCursorW(nullptr, SystemResource(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  windowClass.lpszClassName = className;
  // A second Create with the same class name finds it registered already.
  RegisterClassExW(&windowClass);
}

}  // namespace

WebWindow::~WebWindow() {
  if (!client_) return;
  const HWND window = client_->window();
  SendMessageW(window, WM_CLOSE, 0, 0);
  // A window that outlives this object (a non-layered one whose browser has
  // not agreed to close yet) must not reach it any more, nor must the client.
  if (IsWindow(window) && BackPointer(window) == this) SetWindowLongPtrW(window, kBackPointerIndex, 0);
  client_->DetachOwner();
  client_ = nullptr;
}

void WebWindow::CloseExistingWindow() {
  if (client_) SendMessageW(client_->window(), WM_CLOSE, 0, 0);
}

bool WebWindow::Create(HWND parent, WindowKind kind, const wchar_t* className, const wchar_t* title, int x, int y,
                       int width, int height, const wchar_t* url) {
  CloseExistingWindow();
  hwnd_ = nullptr;
  const WindowStyles styles = StylesForKind(kind);
  layered_ = kind == WindowKind::Layered;
  RegisterWindowClass(className, WindowProcedure);
  closing_ = false;
  HWND window = CreateWindowExW(styles.extendedStyle, className, title, styles.style, x, y, width, height, parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window) SetWindowLongPtrW(window, kBackPointerIndex, reinterpret_cast<LONG_PTR>(this));
  if (CreateBrowser(window, kind, x, y, width, height, url)) return true;
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  return false;
}

bool WebWindow::CreateBrowser(HWND window, WindowKind kind, int x, int y, int width, int height, const wchar_t* url) {
  if (!IsWindow(window)) return false;
  layered_ = kind == WindowKind::Layered;

  CefBrowserSettings settings;
  settings.windowless_frame_rate = 30;
  settings.local_storage = STATE_ENABLED;
  settings.databases = STATE_ENABLED;

  client_ = new OsrClient(this);
  client_->SetWindow(window);

  CefWindowInfo windowInfo;
  windowInfo.parent_window = window;
  if (layered_) {
    windowInfo.windowless_rendering_enabled = 1;
    client_->AttachWindow(window);
  } else {
    windowInfo.style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE;
    windowInfo.bounds = CefRect(x, y, width, height);
  }

  const CefString address = url ? CefString(url) : CefString(L"about:blank");
  CefRefPtr<CefBrowser> browser =
      CefBrowserHost::CreateBrowserSync(windowInfo, client_.get(), address, settings, nullptr, nullptr);
  client_->SetBrowser(browser);
  if (!browser) return false;
  UpdateWindow(window);
  hwnd_ = window;
  return true;
}

bool WebWindow::HasWindow() const { return client_ && IsWindow(client_->window()); }

BOOL WebWindow::Show(bool show) { return ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE); }

LRESULT WebWindow::SendScriptReply(int callbackId, const wchar_t* text) {
  return SendMessageW(hwnd_, WM_SCRIPT_REPLY, static_cast<WPARAM>(callbackId), reinterpret_cast<LPARAM>(text));
}

LRESULT WebWindow::EvalScript(const wchar_t* script) {
  return SendMessageW(hwnd_, WM_EVAL_SCRIPT, kEvalScriptKey, reinterpret_cast<LPARAM>(script));
}

bool WebWindow::OnScriptCall(CefRefPtr<CefProcessMessage>) { return true; }

bool WebWindow::OnPageLoadError(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, int, const CefString&, const CefString&) {
  return false;
}

void WebWindow::OnPageLoadEnd(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, int) {}

LRESULT WebWindow::OnWindowMessage(HWND, UINT, WPARAM, LPARAM, bool* handled) {
  *handled = false;
  return 0;
}

bool WebWindow::OnPageTitleChange(const std::wstring&) { return true; }

LRESULT CALLBACK WebWindow::WindowProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Messages sent while CreateWindowExW runs come before the back pointer.
  WebWindow* self = BackPointer(hwnd);
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->HandleMessage(hwnd, msg, wParam, lParam);
}

LRESULT WebWindow::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (client_) {
    bool handled = false;
    const LRESULT result = OnWindowMessage(hwnd, msg, wParam, lParam, &handled);
    if (handled) return result;
  }
  switch (msg) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 1;
    case WM_CLOSE:
      return HandleClose(hwnd);
    case WM_GETMINMAXINFO: {
      RECT workArea{};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
      MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMaxSize.x = workArea.right - workArea.left;
      limits->ptMaxSize.y = workArea.bottom - workArea.top;
      return 1;
    }
    case WM_DPICHANGED: {
      CefRefPtr<CefBrowser> browser = client_ ? client_->browser() : nullptr;
      if (!browser) return 0;
      browser->GetHost()->SetZoomLevel(ZoomLevelForDpi(HIWORD(wParam)));
      break;
    }
    case WM_SCRIPT_REPLY:
      return client_ && SendReplyToPage(client_->browser(), static_cast<int>(wParam),
                                        reinterpret_cast<const wchar_t*>(lParam))
                 ? 1
                 : 0;
    case WM_EVAL_SCRIPT:
      if (wParam != kEvalScriptKey || !client_) return 0;
      return SendScriptToPage(client_->browser(), reinterpret_cast<const wchar_t*>(lParam)) ? 1 : 0;
    default:
      break;
  }
  // Once closing, a layered window no longer feeds the page.
  if (layered_ && !closing_ && client_) return client_->RouteWindowMessage(hwnd, msg, wParam, lParam);
  if (msg == WM_NCHITTEST) return HTCLIENT;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT WebWindow::HandleClose(HWND hwnd) {
  closing_ = true;
  // Keeps the client while the browser's close handlers run.
  CefRefPtr<OsrClient> client = client_;
  if (client && !client->IsClosing() && client->browser()) client->browser()->GetHost()->CloseBrowser(false);
  // A windowless browser has no window of its own to wait for.
  if ((client && client->IsClosing()) || layered_) DestroyWindow(hwnd);
  return 1;
}
