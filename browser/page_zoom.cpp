#include "browser/page_zoom.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Looked up once: Windows before 10 (1607) has no GetDpiForWindow.
GetDpiForWindowFunction DpiForWindowFunction() {
  static const GetDpiForWindowFunction function = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

}  // namespace

double ZoomLevelForDpi(UINT dpi) {
  const float scale = static_cast<float>(dpi) / 96.0f;
  return scale == 1.0f ? 0.0 : static_cast<double>(scale);
}

double ZoomLevelForLogicalPixels(int logicalPixels) {
  const double scale = static_cast<double>(logicalPixels) / 96.0;
  return scale == 1.0 ? 0.0 : scale;
}

double ZoomLevelForWindow(HWND window) {
  if (const GetDpiForWindowFunction dpiForWindow = DpiForWindowFunction()) return ZoomLevelForDpi(dpiForWindow(window));
  HDC screen = GetDC(nullptr);
  const int logicalPixels = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return ZoomLevelForLogicalPixels(logicalPixels);
}
