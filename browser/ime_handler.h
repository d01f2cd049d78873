#pragma once
// The IMM32 side of composed text input for one windowless browser window.
//
// The layered window shows no composition window of its own: the
// composition string and its underlines are read from the input context and
// drawn inline by the page, and the committed result goes to the page as
// text. The candidate list stays the system's and is placed next to the
// character being composed, from the character rectangles the page reports.
//
// UI thread only. Owned by the window's OsrClient.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "browser/imm_api.h"
#include "engine/include/cef_browser.h"

// What the input context holds as the composition, ready for ImeSetComposition.
struct ImeComposition {
  std::wstring text;                                // UTF-16, as IMM32 and the engine keep it
  std::vector<CefCompositionUnderline> underlines;  // ranges in UTF-16 units of text
  int cursor = 0;                                   // selection start inside text
};

class ImeHandler {
 public:
  // Used when the keyboard layout names no language.
  static constexpr LANGID kFallbackLanguage = 0x0409;

  // Reads the input language from the thread's keyboard layout.
  ImeHandler(HWND window, std::unique_ptr<ImmApi> imm);
  ~ImeHandler();  // removes the system caret if it made one
  ImeHandler(const ImeHandler&) = delete;
  ImeHandler& operator=(const ImeHandler&) = delete;

  // GCS_RESULTSTR of a WM_IME_COMPOSITION; nullopt when the message carries
  // none or the window has no input context.
  std::optional<std::wstring> ReadResultText(LPARAM lParam);
  // GCS_COMPSTR with its underlines and cursor; nullopt when the message
  // carries no composition string, it is absent, or there is no context.
  // Marks the handler composing when there is one.
  std::optional<ImeComposition> ReadCompositionText(LPARAM lParam);

  // The page's report: where the composition is in the page's text, and one
  // rectangle (window client pixels) per character of it.
  void SetCompositionRange(const CefRange& range, const std::vector<CefRect>& characterBounds);
  // The character to open the candidate list at; -1 is the composition's start.
  void SetCaretIndex(int index);
  void ClearCompositionState();
  // Moves the candidate list next to the character at the caret index, when
  // the window has the keyboard focus and the character's rectangle is known.
  void PlaceCandidateWindow();

  // Chinese and Japanese input methods place some of their windows by the
  // system caret: a 1 x 1 one is made while the window composes.
  void PrepareCaret();
  void RemoveCaret();

  // WM_INPUTLANGCHANGE: the thread's new keyboard layout.
  void SetKeyboardLayout(HKL layout);

  LANGID input_language() const { return language_; }
  bool composing() const { return composing_; }

 private:
  bool ReadImeString(HIMC context, LPARAM lParam, DWORD kind, std::wstring& text);
  ImeComposition BuildComposition(HIMC context, LPARAM lParam, std::wstring text);
  WORD PrimaryLanguage() const { return PRIMARYLANGID(language_); }

  std::unique_ptr<ImmApi> imm_;
  bool composing_ = false;
  std::vector<CefRect> characterBounds_;
  int caretIndex_ = -1;
  CefRange compositionRange_;
  HWND window_;
  LANGID language_ = kFallbackLanguage;
  bool caretCreated_ = false;
};
