#include "browser/ime_handler.h"

#include <algorithm>
#include <cstdint>

namespace {

// Every underline drawn for a composition: opaque black, solid, no background.
CefCompositionUnderline Underline(uint32_t from, uint32_t to, bool thick) {
  CefCompositionUnderline underline;
  underline.range = CefRange(from, to);
  underline.color = 0xFF000000;
  underline.background_color = 0x00000000;
  underline.thick = thick ? 1 : 0;
  underline.style = CEF_CUS_SOLID;
  return underline;
}

bool IsTargetAttribute(BYTE attribute) {
  return attribute == ATTR_TARGET_CONVERTED || attribute == ATTR_TARGET_NOTCONVERTED;
}

// One composition part that is not text (attributes, clause offsets);
// empty when IMM reports it absent.
template <typename Element>
std::vector<Element> ReadPart(ImmApi& imm, HIMC context, DWORD kind) {
  const LONG bytes = imm.GetCompositionString(context, kind, nullptr, 0);
  if (bytes < static_cast<LONG>(sizeof(Element))) return {};
  std::vector<Element> part(static_cast<size_t>(bytes) / sizeof(Element));
  const LONG copied =
      imm.GetCompositionString(context, kind, part.data(), static_cast<DWORD>(part.size() * sizeof(Element)));
  if (copied <= 0) return {};
  part.resize(std::min(part.size(), static_cast<size_t>(copied) / sizeof(Element)));
  return part;
}

LANGID LanguageOfLayout(HKL layout) {
  const LANGID language = LOWORD(reinterpret_cast<UINT_PTR>(layout));
  return language ? language : ImeHandler::kFallbackLanguage;
}

}  // namespace

ImeHandler::ImeHandler(HWND window, std::unique_ptr<ImmApi> imm)
    : imm_(std::move(imm)), window_(window), language_(LanguageOfLayout(imm_->KeyboardLayout())) {}

ImeHandler::~ImeHandler() { RemoveCaret(); }

void ImeHandler::SetKeyboardLayout(HKL layout) {
  const LANGID language = LanguageOfLayout(layout);
  // The caret belongs to the old language's rules; the next composition
  // makes one again if the new language wants it.
  if (language != language_) RemoveCaret();
  language_ = language;
}

std::optional<std::wstring> ImeHandler::ReadResultText(LPARAM lParam) {
  ImmContextLease context(*imm_, window_);
  if (!context) return std::nullopt;
  std::wstring text;
  if (!ReadImeString(context.get(), lParam, GCS_RESULTSTR, text)) return std::nullopt;
  return text;
}

std::optional<ImeComposition> ImeHandler::ReadCompositionText(LPARAM lParam) {
  ImmContextLease context(*imm_, window_);
  if (!context) return std::nullopt;
  std::wstring text;
  if (!ReadImeString(context.get(), lParam, GCS_COMPSTR, text)) return std::nullopt;
  composing_ = true;
  return BuildComposition(context.get(), lParam, std::move(text));
}

bool ImeHandler::ReadImeString(HIMC context, LPARAM lParam, DWORD kind, std::wstring& text) {
  if (!(static_cast<DWORD>(lParam) & kind)) return false;
  const LONG bytes = imm_->GetCompositionString(context, kind, nullptr, 0);
  if (bytes <= 0) return false;
  // Room for a terminator the call does not promise to write.
  std::vector<wchar_t> buffer(static_cast<size_t>(bytes) / sizeof(wchar_t) + 2, L'\0');
  imm_->GetCompositionString(context, kind, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(wchar_t)));
  text.assign(buffer.data());
  return true;
}

ImeComposition ImeHandler::BuildComposition(HIMC context, LPARAM lParam, std::wstring text) {
  const DWORD flags = static_cast<DWORD>(lParam);
  const uint32_t length = static_cast<uint32_t>(text.length());

  // The target: the clause the user is converting, drawn thick.
  uint32_t targetStart = length;
  uint32_t targetEnd = length;
  if (flags & GCS_COMPATTR) {
    const std::vector<BYTE> attributes = ReadPart<BYTE>(*imm_, context, GCS_COMPATTR);
    if (!attributes.empty()) {
      const uint32_t count = static_cast<uint32_t>(attributes.size());
      targetStart = count;
      for (uint32_t i = 0; i < count; ++i) {
        if (IsTargetAttribute(attributes[i])) {
          targetStart = i;
          break;
        }
      }
      targetEnd = count;
      for (uint32_t i = targetStart; i < count; ++i) {
        if (!IsTargetAttribute(attributes[i])) {
          targetEnd = i;
          break;
        }
      }
    }
  }

  ImeComposition composition;
  if ((flags & GCS_CURSORPOS) && !(flags & CS_NOMOVECARET))
    // A negative answer is an IMM error code, not a position.
    composition.cursor = std::max<LONG>(0, imm_->GetCompositionString(context, GCS_CURSORPOS, nullptr, 0));

  if (flags & GCS_COMPCLAUSE) {
    const std::vector<uint32_t> clauses = ReadPart<uint32_t>(*imm_, context, GCS_COMPCLAUSE);
    for (size_t i = 0; i + 1 < clauses.size(); ++i) {
      const bool inTarget = clauses[i] >= targetStart && clauses[i + 1] <= targetEnd;
      composition.underlines.push_back(Underline(clauses[i], clauses[i + 1], inTarget));
    }
  }
  if (composition.underlines.empty()) {
    if (targetStart > 0) composition.underlines.push_back(Underline(0, targetStart, false));
    if (targetEnd > targetStart) composition.underlines.push_back(Underline(targetStart, targetEnd, true));
    if (targetEnd < length) composition.underlines.push_back(Underline(targetEnd, length, false));
  }
  composition.text = std::move(text);
  return composition;
}

void ImeHandler::SetCompositionRange(const CefRange& range, const std::vector<CefRect>& characterBounds) {
  compositionRange_ = range;
  characterBounds_ = characterBounds;
  PlaceCandidateWindow();
}

void ImeHandler::SetCaretIndex(int index) {
  caretIndex_ = index;
  PlaceCandidateWindow();
}

void ImeHandler::ClearCompositionState() {
  composing_ = false;
  caretIndex_ = -1;
}

void ImeHandler::PlaceCandidateWindow() {
  if (imm_->FocusWindow() != window_) return;
  const int64_t from = compositionRange_.from;
  int64_t location = caretIndex_ == -1 ? from : caretIndex_;
  // The caret index may count from the page text's start or from the composition's.
  if (location >= from) location -= from;
  if (location < 0 || location >= static_cast<int64_t>(characterBounds_.size())) return;
  const CefRect& character = characterBounds_[static_cast<size_t>(location)];
  int x = character.x;
  int y = character.y;

  ImmContextLease context(*imm_, window_);
  if (!context) return;
  if (PrimaryLanguage() == LANG_CHINESE) {
    CANDIDATEFORM position = {};
    position.dwIndex = 0;
    position.dwStyle = CFS_CANDIDATEPOS;
    position.ptCurrentPos = {x, y};
    imm_->SetCandidateWindow(context.get(), position);
  }
  if (caretCreated_) {
    if (PrimaryLanguage() == LANG_JAPANESE) {
      imm_->SetCaretPosition(x, y + character.height);
    } else {
      imm_->SetCaretPosition(x, y);
    }
  }
  if (PrimaryLanguage() == LANG_KOREAN) ++y;
  // The list opens beside the character without covering it.
  CANDIDATEFORM exclude = {};
  exclude.dwIndex = 0;
  exclude.dwStyle = CFS_EXCLUDE;
  exclude.ptCurrentPos = {x, y};
  exclude.rcArea = {x, y, x + character.width, y + character.height};
  imm_->SetCandidateWindow(context.get(), exclude);
}

void ImeHandler::PrepareCaret() {
  if (caretCreated_) return;
  if (PrimaryLanguage() != LANG_CHINESE && PrimaryLanguage() != LANG_JAPANESE) return;
  caretCreated_ = imm_->CreateCaret(window_, 1, 1);
}

void ImeHandler::RemoveCaret() {
  if (!caretCreated_) return;
  imm_->DestroyCaret();
  caretCreated_ = false;
}
