#pragma once
// A browser host that records the input it is sent and does nothing else.

#include <vector>

#include "tests/common/null_browser_host.h"

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

class RecordingHost : public NullBrowserHost {
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
};
