#include "browser/window_styles.h"

#include "browser/web_window.h"

WindowStyles StylesForKind(WindowKind kind) {
  constexpr DWORD kBorderless =
      WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  switch (kind) {
    case WindowKind::Child: return {WS_CHILD, 0};
    case WindowKind::Layered: return {kBorderless, WS_EX_LAYERED};
    case WindowKind::Popup: return {kBorderless | WS_THICKFRAME, 0};
    case WindowKind::Overlapped: break;
  }
  return {WS_OVERLAPPEDWINDOW, 0};
}
