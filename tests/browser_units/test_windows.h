#pragma once
// Windows and keyboard state for the browser unit tests.
//
// Message-only windows work everywhere, also under Wine without a display;
// top-level windows need one (Xvfb), and tests that need them skip without.

#include <windows.h>

#include <vector>

// A window of a class of our own whose procedure is DefWindowProcW (system
// classes such as STATIC answer WM_NCHITTEST with HTTRANSPARENT, which hides
// them from WindowFromPoint). Destroyed with the object.
class TestWindow {
 public:
  // A message-only window.
  static TestWindow MessageOnly();
  // A visible top-level popup at (x, y), not activated; window() is null
  // when no window could be made (no display).
  static TestWindow Popup(DWORD exStyle, int x, int y, int width, int height);

  ~TestWindow();
  TestWindow(TestWindow&& other) noexcept;
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  TestWindow& operator=(TestWindow&&) = delete;

  HWND window() const { return window_; }

 private:
  explicit TestWindow(HWND window) : window_(window) {}
  HWND window_ = nullptr;
};

// Dispatches this thread's pending messages.
void PumpMessages();

// Sets this thread's keyboard state (SetKeyboardState): the keys given are
// down, the toggles given are on, everything else up and off. The state
// before is restored when the object goes.
class KeyboardState {
 public:
  KeyboardState(const std::vector<int>& down, const std::vector<int>& toggled = {});
  ~KeyboardState();
  KeyboardState(const KeyboardState&) = delete;
  KeyboardState& operator=(const KeyboardState&) = delete;

 private:
  BYTE saved_[256] = {};
};
