#pragma once
// A browser host that records the input it is sent and does nothing else.

#include <vector>

#include "engine/include/cef_browser.h"

struct RecordedClick {
  CefMouseEvent event;
  cef_mouse_button_type_t button;
  bool mouseUp;
  int clickCount;
};

struct RecordedMove {
  CefMouseEvent event;
  bool mouseLeave;
};

struct RecordedWheel {
  CefMouseEvent event;
  int deltaX;
  int deltaY;
};

class RecordingHost : public CefBrowserHost {
 public:
  std::vector<RecordedClick> clicks;
  std::vector<RecordedMove> moves;
  std::vector<RecordedWheel> wheels;
  std::vector<CefKeyEvent> keys;

  void SendKeyEvent(const CefKeyEvent& event) override { keys.push_back(event); }
  void SendMouseClickEvent(const CefMouseEvent& event, cef_mouse_button_type_t type, bool mouseUp,
                           int clickCount) override {
    clicks.push_back({event, type, mouseUp, clickCount});
  }
  void SendMouseMoveEvent(const CefMouseEvent& event, bool mouseLeave) override {
    moves.push_back({event, mouseLeave});
  }
  void SendMouseWheelEvent(const CefMouseEvent& event, int deltaX, int deltaY) override {
    wheels.push_back({event, deltaX, deltaY});
  }

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
  void ShowDevTools(const CefWindowInfo&, CefRefPtr<CefClient>, const CefBrowserSettings&,
                    const CefPoint&) override {}
  void SendCaptureLostEvent() override {}
  void ImeSetComposition(const CefString&, const std::vector<CefCompositionUnderline>&, const CefRange&,
                         const CefRange&) override {}
  void ImeCommitText(const CefString&, const CefRange&, int) override {}
  void ImeFinishComposingText(bool) override {}
  void ImeCancelComposition() override {}

  IMPLEMENT_REFCOUNTING(RecordingHost);
};
