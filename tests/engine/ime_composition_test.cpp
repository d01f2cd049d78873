// An input method's composition, from a window's IME messages through the
// real layer to a text field of the page. Only the input context is a
// stand-in (there is no input method under test); the window, its message
// routing, the browser and the page are real.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "browser/ime_routing.h"
#include "tests/engine/engine_fixture.h"
#include "tests/ime/ime_fakes.h"

namespace {

// The page reports its field after every change and at the composition's end.
constexpr char kPage[] =
    "<!doctype html><input id=field style='position:absolute;left:0;top:0;width:150px;height:24px'>"
    "<script>"
    "const field = document.getElementById('field');"
    "const report = (e) => js_api_cross_call(e.type + ':' + field.value);"
    "field.addEventListener('input', report);"
    "field.addEventListener('compositionend', report);"
    "field.focus();"
    "</script>";

// A top-level window whose procedure hands its IME messages to the routing,
// as the main window's does.
class ImeWindow {
 public:
  ImeWindow(CefRefPtr<CefBrowserHost> host, FakeImm*& imm) : host_(std::move(host)) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ImeWindow::Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarnwickImeTestWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
    auto fake = std::make_unique<FakeImm>();
    imm = fake.get();
    imm->focus = window_;
    handler_ = std::make_unique<ImeHandler>(window_, std::move(fake));
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ImeWindow() {
    handler_.reset();
    if (window_) DestroyWindow(window_);
  }
  ImeWindow(const ImeWindow&) = delete;
  ImeWindow& operator=(const ImeWindow&) = delete;

  HWND get() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ImeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && RouteImeMessage(window, message, wParam, lParam, self->host_, self->handler_.get(), result))
      return result;
    return DefWindowProcW(window, message, wParam, lParam);
  }

  CefRefPtr<CefBrowserHost> host_;
  std::unique_ptr<ImeHandler> handler_;
  HWND window_ = nullptr;
};

class ImeCompositionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(EngineSession::Ready());
    browser_ = EngineSession::Open(kPage, client_);
    ASSERT_TRUE(browser_);
    // A click in the field, as a user's would, so it holds the focus.
    CefRefPtr<CefBrowserHost> host = browser_->GetHost();
    host->SetFocus(true);
    host->SendMouseClickEvent(CefMouseEvent{20, 12, 0}, MBT_LEFT, false, 1);
    host->SendMouseClickEvent(CefMouseEvent{20, 12, 0}, MBT_LEFT, true, 1);
    window_ = std::make_unique<ImeWindow>(host, imm_);
    ASSERT_TRUE(window_->get());
  }
  void TearDown() override {
    window_.reset();
    if (browser_) browser_->GetHost()->CloseBrowser(true);
  }

  // Waits until the page has reported `expected` (in any of its reports).
  bool PageReported(const std::string& expected) {
    return RunUntil([&] {
      for (const ReceivedMessage& m : client_->messages)
        if (m.entries.size() == 2 && m.entries[1] == "s:" + expected) return true;
      return false;
    });
  }
  std::string Reports() const {
    std::string all;
    for (const ReceivedMessage& m : client_->messages) all += (m.entries.size() == 2 ? m.entries[1] : "?") + " | ";
    return all;
  }

  void Send(UINT message, LPARAM lParam = 0) { SendMessageW(window_->get(), message, 0, lParam); }

  CefRefPtr<RecordingClient> client_;
  CefRefPtr<CefBrowser> browser_;
  FakeImm* imm_ = nullptr;
  std::unique_ptr<ImeWindow> window_;
};

TEST_F(ImeCompositionTest, ACompositionSetAndCommittedReachesTheTextField) {
  Send(WM_IME_STARTCOMPOSITION);
  imm_->SetText(GCS_COMPSTR, L"ni\u597d");  // "ni好" being composed
  imm_->parts[GCS_COMPATTR] = {ATTR_INPUT, ATTR_INPUT, ATTR_TARGET_CONVERTED};
  imm_->cursor = 3;
  Send(WM_IME_COMPOSITION, GCS_COMPSTR | GCS_COMPATTR | GCS_CURSORPOS);
  ASSERT_TRUE(PageReported("input:ni\xE5\xA5\xBD")) << Reports();

  imm_->parts.clear();
  imm_->SetText(GCS_RESULTSTR, L"\u4f60\u597d");  // committed as 你好
  Send(WM_IME_COMPOSITION, GCS_RESULTSTR);
  Send(WM_IME_ENDCOMPOSITION);
  // The field holds the committed text in place of the composition.
  EXPECT_TRUE(PageReported("compositionend:\xE4\xBD\xA0\xE5\xA5\xBD")) << Reports();
}

TEST_F(ImeCompositionTest, AnEmptyCompositionLeavesTheFieldAsItWas) {
  Send(WM_IME_STARTCOMPOSITION);
  imm_->SetText(GCS_COMPSTR, L"abc");
  Send(WM_IME_COMPOSITION, GCS_COMPSTR | GCS_CURSORPOS);
  ASSERT_TRUE(PageReported("input:abc")) << Reports();

  imm_->parts.clear();
  Send(WM_IME_COMPOSITION, GCS_COMPSTR);  // the user deleted everything composed
  Send(WM_IME_ENDCOMPOSITION);
  EXPECT_TRUE(PageReported("compositionend:")) << Reports();
}

}  // namespace
