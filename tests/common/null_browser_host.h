#pragma once
// A browser host that ignores every call. Test fakes derive from it and
// record only what they are about.

#include "engine/include/cef_browser.h"

class NullBrowserHost : public CefBrowserHost {
 public:
  CefRefPtr<CefBrowser> GetBrowser() override { return nullptr; }
  void CloseBrowser(bool) override {}
  HWND GetWindowHandle() override { return nullptr; }
  CefRefPtr<CefClient> GetClient() override { return nullptr; }
  void SetFocus(bool) override {}
  double GetZoomLevel() override { return 0.0; }
  void SetZoomLevel(double) override {}
  void WasResized() override {}
  void WasHidden(bool) override {}
  void Invalidate(cef_paint_element_type_t) override {}
  void SetWindowlessFrameRate(int) override {}
  void ShowDevTools(const CefWindowInfo&, CefRefPtr<CefClient>, const CefBrowserSettings&, const CefPoint&) override {}
  void SendKeyEvent(const CefKeyEvent&) override {}
  void SendMouseClickEvent(const CefMouseEvent&, cef_mouse_button_type_t, bool, int) override {}
  void SendMouseMoveEvent(const CefMouseEvent&, bool) override {}
  void SendMouseWheelEvent(const CefMouseEvent&, int, int) override {}
  void SendCaptureLostEvent() override {}
  void ImeSetComposition(const CefString&, const std::vector<CefCompositionUnderline>&, const CefRange&,
                         const CefRange&) override {}
  void ImeCommitText(const CefString&, const CefRange&, int) override {}
  void ImeFinishComposingText(bool) override {}
  void ImeCancelComposition() override {}

  IMPLEMENT_REFCOUNTING(NullBrowserHost);
};
