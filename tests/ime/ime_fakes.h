#pragma once
// Stand-ins for the input method and the browser host: the input context's
// composition parts are set by the test, and what reaches the host and the
// candidate window is recorded.

#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "browser/ime_handler.h"
#include "engine/include/cef_client.h"
#include "tests/common/null_browser_host.h"

class FakeImm : public ImmApi {
 public:
  static inline const HIMC kContext = reinterpret_cast<HIMC>(0x5150);

  // The input context's parts by GCS_* kind, as raw bytes.
  std::map<DWORD, std::vector<BYTE>> parts;
  LONG cursor = 0;
  bool hasContext = true;
  HWND focus = nullptr;
  HKL layout = reinterpret_cast<HKL>(static_cast<UINT_PTR>(0x04090409));

  std::vector<CANDIDATEFORM> candidateForms;
  std::vector<POINT> caretPositions;
  bool caretExists = false;
  int contextsHeld = 0;

  void SetText(DWORD kind, const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    parts[kind].assign(bytes, bytes + text.size() * sizeof(wchar_t));
  }
  void SetClauses(const std::vector<uint32_t>& offsets) {
    const auto* bytes = reinterpret_cast<const BYTE*>(offsets.data());
    parts[GCS_COMPCLAUSE].assign(bytes, bytes + offsets.size() * sizeof(uint32_t));
  }

  HIMC GetContext(HWND) override {
    if (!hasContext) return nullptr;
    ++contextsHeld;
    return kContext;
  }
  void ReleaseContext(HWND, HIMC) override { --contextsHeld; }
  LONG GetCompositionString(HIMC context, DWORD kind, void* buffer, DWORD bytes) override {
    if (context != kContext) return IMM_ERROR_GENERAL;
    if (kind == GCS_CURSORPOS) return cursor;
    const auto found = parts.find(kind);
    if (found == parts.end()) return IMM_ERROR_NODATA;
    const std::vector<BYTE>& part = found->second;
    if (!buffer) return static_cast<LONG>(part.size());
    const size_t copied = std::min<size_t>(bytes, part.size());
    std::memcpy(buffer, part.data(), copied);
    return static_cast<LONG>(copied);
  }
  void SetCandidateWindow(HIMC, const CANDIDATEFORM& form) override { candidateForms.push_back(form); }
  HWND FocusWindow() override { return focus; }
  HKL KeyboardLayout() override { return layout; }
  bool CreateCaret(HWND, int width, int height) override {
    caretExists = width == 1 && height == 1;
    return true;
  }
  void DestroyCaret() override { caretExists = false; }
  void SetCaretPosition(int x, int y) override { caretPositions.push_back({x, y}); }
};

// One composition call on the host, in order of arrival.
struct ImeCall {
  enum Kind { kSetComposition, kCommitText, kCancelComposition } kind;
  std::wstring text;
  std::vector<CefCompositionUnderline> underlines;
  CefRange replacement;
  CefRange selection;
};

class ImeRecordingHost : public NullBrowserHost {
 public:
  std::vector<ImeCall> calls;

  void ImeSetComposition(const CefString& text, const std::vector<CefCompositionUnderline>& underlines,
                         const CefRange& replacement, const CefRange& selection) override {
    calls.push_back({ImeCall::kSetComposition, text.ToWString(), underlines, replacement, selection});
  }
  void ImeCommitText(const CefString& text, const CefRange& replacement, int) override {
    calls.push_back({ImeCall::kCommitText, text.ToWString(), {}, replacement, {}});
  }
  void ImeCancelComposition() override { calls.push_back({ImeCall::kCancelComposition, {}, {}, {}, {}}); }
};

// A message-only window for DefWindowProcW to act on; destroyed with the object.
class MessageWindow {
 public:
  MessageWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~MessageWindow() {
    if (window_) DestroyWindow(window_);
  }
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// A handler over a FakeImm that the test keeps a pointer to.
struct ImeSetup {
  explicit ImeSetup(HKL layout = reinterpret_cast<HKL>(static_cast<UINT_PTR>(0x04090409))) {
    auto fake = std::make_unique<FakeImm>();
    imm = fake.get();
    imm->layout = layout;
    imm->focus = window.get();
    handler = std::make_unique<ImeHandler>(window.get(), std::move(fake));
  }
  MessageWindow window;
  FakeImm* imm = nullptr;
  std::unique_ptr<ImeHandler> handler;
  CefRefPtr<ImeRecordingHost> host = new ImeRecordingHost;
};

inline HKL LayoutOf(LANGID language) {
  return reinterpret_cast<HKL>(static_cast<UINT_PTR>(MAKELONG(language, language)));
}
