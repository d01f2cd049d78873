#pragma once
// Counts presses of one mouse button that follow each other closely enough to
// make a double (or triple...) click: within half the system's double-click
// width and height of the previous press, and within the double-click time.
// The page needs the count to select words and lines.

#include <windows.h>

#include "engine/include/cef_browser.h"

class ClickCounter {
 public:
  // A press of `button` at client point (x, y), at message time `time`
  // (GetMessageTime). Returns its count: 1, or one more than the last press.
  int Press(cef_mouse_button_type_t button, int x, int y, LONG time);

  // The count of the press this release ends (1 when none was counted).
  int Release(cef_mouse_button_type_t button) const;

  // The pointer moved (or left) to (x, y) at `time`: once it is outside the
  // double-click area or time of the last press, the next press counts 1.
  void Move(int x, int y, LONG time);

 private:
  bool FollowsLastPress(int x, int y, LONG time) const;

  bool hasLastPress_ = false;
  cef_mouse_button_type_t lastButton_ = MBT_LEFT;
  int lastX_ = 0;
  int lastY_ = 0;
  LONG lastTime_ = 0;
  int lastCount_ = 0;
  int pressCounts_[3] = {1, 1, 1};  // by button: the count each button's latest press got
};
