#include "browser/imm_api.h"

namespace {

class SystemImmApi final : public ImmApi {
 public:
  HIMC GetContext(HWND window) override { return ImmGetContext(window); }
  void ReleaseContext(HWND window, HIMC context) override { ImmReleaseContext(window, context); }
  LONG GetCompositionString(HIMC context, DWORD kind, void* buffer, DWORD bytes) override {
    return ImmGetCompositionStringW(context, kind, buffer, bytes);
  }
  void SetCandidateWindow(HIMC context, const CANDIDATEFORM& form) override {
    CANDIDATEFORM copy = form;  // the API takes a non-const pointer
    ImmSetCandidateWindow(context, &copy);
  }
  HWND FocusWindow() override { return GetFocus(); }
  HKL KeyboardLayout() override { return GetKeyboardLayout(0); }
  bool CreateCaret(HWND window, int width, int height) override {
    return ::CreateCaret(window, nullptr, width, height) != FALSE;
  }
  void DestroyCaret() override { ::DestroyCaret(); }
  void SetCaretPosition(int x, int y) override { SetCaretPos(x, y); }
};

}  // namespace

std::unique_ptr<ImmApi> CreateSystemImmApi() { return std::make_unique<SystemImmApi>(); }
