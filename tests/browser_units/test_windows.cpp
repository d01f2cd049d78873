#include "test_windows.h"

#include <utility>

namespace {

constexpr wchar_t kClassName[] = L"TarnwickBrowserUnitTestWindow";

void RegisterTestClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered
}

HWND CreateTestWindow(DWORD exStyle, DWORD style, int x, int y, int width, int height, HWND parent) {
  RegisterTestClass();
  return CreateWindowExW(exStyle, kClassName, L"test", style, x, y, width, height, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TestWindow TestWindow::MessageOnly() { return TestWindow(CreateTestWindow(0, 0, 0, 0, 0, 0, HWND_MESSAGE)); }

TestWindow TestWindow::Popup(DWORD exStyle, int x, int y, int width, int height) {
  HWND window = CreateTestWindow(exStyle | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP, x, y, width, height, nullptr);
  if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
  PumpMessages();
  return TestWindow(window);
}

TestWindow::~TestWindow() {
  if (window_) DestroyWindow(window_);
}

TestWindow::TestWindow(TestWindow&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

KeyboardState::KeyboardState(const std::vector<int>& down, const std::vector<int>& toggled) {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the key state lives in the thread's message queue
  GetKeyboardState(saved_);
  BYTE state[256] = {};
  for (int key : down) state[key] |= 0x80;
  for (int key : toggled) state[key] |= 0x01;
  SetKeyboardState(state);
}

KeyboardState::~KeyboardState() { SetKeyboardState(saved_); }
