#include "browser/click_counter.h"

#include <cstdlib>

namespace {

int ButtonIndex(cef_mouse_button_type_t button) {
  switch (button) {
    case MBT_LEFT: return 0;
    case MBT_MIDDLE: return 1;
    case MBT_RIGHT: return 2;
  }
  return 0;
}

}  // namespace

bool ClickCounter::FollowsLastPress(int x, int y, LONG time) const {
  if (!hasLastPress_) return false;
  // Message times are a wrapping millisecond count: compare the unsigned
  // difference, so a time before the last press is never "soon after" it.
  const DWORD elapsed = static_cast<DWORD>(time) - static_cast<DWORD>(lastTime_);
  return std::abs(x - lastX_) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
         std::abs(y - lastY_) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2 && elapsed <= GetDoubleClickTime();
}

int ClickCounter::Press(cef_mouse_button_type_t button, int x, int y, LONG time) {
  if (FollowsLastPress(x, y, time) && button == lastButton_) {
    ++lastCount_;
  } else {
    lastCount_ = 1;
    lastX_ = x;  // later presses are measured from the first of the series
    lastY_ = y;
  }
  hasLastPress_ = true;
  lastButton_ = button;
  lastTime_ = time;
  pressCounts_[ButtonIndex(button)] = lastCount_;
  return lastCount_;
}

int ClickCounter::Release(cef_mouse_button_type_t button) const { return pressCounts_[ButtonIndex(button)]; }

void ClickCounter::Move(int x, int y, LONG time) {
  if (!FollowsLastPress(x, y, time)) hasLastPress_ = false;
}
