#include "browser/ime_routing.h"

#include <cstdint>

namespace {

// The engine's "no range": replace the current composition or selection.
const CefRange kNoRange(UINT32_MAX, UINT32_MAX);

// ISC_SHOWUICOMPOSITIONWINDOW: the page draws the composition, not the IME.
constexpr LPARAM kShowCompositionWindow = static_cast<LPARAM>(0x80000000u);

}  // namespace

bool RouteImeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, CefRefPtr<CefBrowserHost> host,
                     ImeHandler* handler, LRESULT& result) {
  switch (message) {
    case WM_INPUTLANGCHANGE:
      // The language decides where the candidate list goes, browser or not.
      if (handler) handler->SetKeyboardLayout(reinterpret_cast<HKL>(lParam));
      result = DefWindowProcW(window, message, wParam, lParam);
      return true;
    case WM_IME_SETCONTEXT:
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
      break;
    default:
      return false;
  }
  if (!host) {
    result = DefWindowProcW(window, message, wParam, lParam);
    return true;
  }
  result = 0;
  switch (message) {
    case WM_IME_SETCONTEXT:
      DefWindowProcW(window, message, wParam, lParam & ~kShowCompositionWindow);
      if (handler) {
        handler->PrepareCaret();
        handler->PlaceCandidateWindow();
      }
      break;
    case WM_IME_STARTCOMPOSITION:
      // No DefWindowProcW: it would open the IME's own composition window.
      if (handler) {
        handler->PrepareCaret();
        handler->PlaceCandidateWindow();
        handler->ClearCompositionState();
      }
      break;
    case WM_IME_COMPOSITION:
      // No DefWindowProcW: the result already went to the page, and
      // WM_IME_CHAR / WM_CHAR would type it a second time.
      CommitImeComposition(lParam, host, handler);
      break;
    case WM_IME_ENDCOMPOSITION:
      AbortImeComposition(host, handler);
      result = DefWindowProcW(window, message, wParam, lParam);
      break;
  }
  return true;
}

void CommitImeComposition(LPARAM lParam, CefRefPtr<CefBrowserHost> host, ImeHandler* handler) {
  if (!host || !handler) return;
  if (std::optional<std::wstring> result = handler->ReadResultText(lParam)) {
    host->ImeCommitText(*result, kNoRange, 0);
    handler->ClearCompositionState();
  }
  if (std::optional<ImeComposition> composition = handler->ReadCompositionText(lParam)) {
    const uint32_t start = static_cast<uint32_t>(composition->cursor);
    const uint32_t end = start + static_cast<uint32_t>(composition->text.length());
    host->ImeSetComposition(composition->text, composition->underlines, kNoRange, CefRange(start, end));
    handler->SetCaretIndex(composition->cursor - 1);
  } else {
    AbortImeComposition(host, handler);
  }
}

void AbortImeComposition(CefRefPtr<CefBrowserHost> host, ImeHandler* handler) {
  if (!host || !handler) return;
  host->ImeCancelComposition();
  handler->ClearCompositionState();
  handler->RemoveCaret();
}
