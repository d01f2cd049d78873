#pragma once
// The system calls the IME support makes (IMM32 and the few user32 ones it
// depends on), behind an interface so the composition logic can be driven
// without a real input method.
//
// UI thread only, like the window that owns the input context.

#include <windows.h>
#include <imm.h>

#include <memory>

class ImmApi {
 public:
  virtual ~ImmApi() = default;

  // ImmGetContext / ImmReleaseContext of the window; null when it has none.
  virtual HIMC GetContext(HWND window) = 0;
  virtual void ReleaseContext(HWND window, HIMC context) = 0;
  // ImmGetCompositionStringW: bytes copied, or needed when buffer is null;
  // 0 or less when the part is absent or the call fails.
  virtual LONG GetCompositionString(HIMC context, DWORD kind, void* buffer, DWORD bytes) = 0;
  virtual void SetCandidateWindow(HIMC context, const CANDIDATEFORM& form) = 0;

  // GetFocus of the calling thread.
  virtual HWND FocusWindow() = 0;
  // GetKeyboardLayout of the calling thread.
  virtual HKL KeyboardLayout() = 0;
  // The thread's system caret: CreateCaret without a bitmap, DestroyCaret, SetCaretPos.
  virtual bool CreateCaret(HWND window, int width, int height) = 0;
  virtual void DestroyCaret() = 0;
  virtual void SetCaretPosition(int x, int y) = 0;
};

// The real calls (needs imm32 and user32 at link time).
std::unique_ptr<ImmApi> CreateSystemImmApi();

// An input context held for one operation and released on every path.
class ImmContextLease {
 public:
  ImmContextLease(ImmApi& imm, HWND window) : imm_(imm), window_(window), context_(imm.GetContext(window)) {}
  ~ImmContextLease() {
    if (context_) imm_.ReleaseContext(window_, context_);
  }
  ImmContextLease(const ImmContextLease&) = delete;
  ImmContextLease& operator=(const ImmContextLease&) = delete;

  HIMC get() const { return context_; }
  explicit operator bool() const { return context_ != nullptr; }

 private:
  ImmApi& imm_;
  HWND window_;
  HIMC context_;
};
