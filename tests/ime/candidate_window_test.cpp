// The system candidate list is placed next to the character being composed,
// from the rectangles the page reports, with the input language's rules.

#include <gtest/gtest.h>

#include "browser/ime_routing.h"
#include "ime_fakes.h"

namespace {

const std::vector<CefRect> kThreeCharacters = {{10, 20, 16, 18}, {26, 20, 16, 18}, {42, 20, 16, 18}};

struct LanguageCase {
  const char* what;
  LANGID language;
  bool candidatePosFirst;  // Chinese: a CFS_CANDIDATEPOS call before the exclusion
  bool caret;              // a 1 x 1 system caret while composing
  POINT caretAt;
  int yShift;              // Korean: the exclusion starts one pixel lower
};

const LanguageCase kLanguageCases[] = {
    {"Chinese (PRC)", 0x0804, true, true, {26, 20}, 0},
    {"Chinese (Taiwan)", 0x0404, true, true, {26, 20}, 0},
    // Japanese input methods put their windows below the caret.
    {"Japanese", 0x0411, false, true, {26, 38}, 0},
    {"Korean", 0x0412, false, false, {}, 1},
    {"English", 0x0409, false, false, {}, 0},
    {"German", 0x0407, false, false, {}, 0},
};

TEST(CandidateWindowTest, PlacedBesideTheCharacterByLanguage) {
  for (const LanguageCase& c : kLanguageCases) {
    SCOPED_TRACE(c.what);
    ImeSetup ime(LayoutOf(c.language));
    ASSERT_EQ(ime.handler->input_language(), c.language);
    ime.handler->PrepareCaret();
    EXPECT_EQ(ime.imm->caretExists, c.caret);

    ime.handler->SetCaretIndex(1);
    ime.handler->SetCompositionRange(CefRange(0, 3), kThreeCharacters);

    // Placed once: with the caret index alone no rectangle is known yet.
    const std::vector<CANDIDATEFORM>& last = ime.imm->candidateForms;
    ASSERT_EQ(last.size(), c.candidatePosFirst ? 2u : 1u);
    if (c.candidatePosFirst) {
      EXPECT_EQ(last[0].dwStyle, static_cast<DWORD>(CFS_CANDIDATEPOS));
      EXPECT_EQ(last[0].ptCurrentPos.x, 26);
      EXPECT_EQ(last[0].ptCurrentPos.y, 20);
    }
    const CANDIDATEFORM& exclude = last.back();
    EXPECT_EQ(exclude.dwIndex, 0u);
    EXPECT_EQ(exclude.dwStyle, static_cast<DWORD>(CFS_EXCLUDE));
    EXPECT_EQ(exclude.ptCurrentPos.x, 26);
    EXPECT_EQ(exclude.ptCurrentPos.y, 20 + c.yShift);
    EXPECT_EQ(exclude.rcArea.left, 26);
    EXPECT_EQ(exclude.rcArea.top, 20 + c.yShift);
    EXPECT_EQ(exclude.rcArea.right, 42);
    EXPECT_EQ(exclude.rcArea.bottom, 38 + c.yShift);

    if (c.caret) {
      ASSERT_FALSE(ime.imm->caretPositions.empty());
      EXPECT_EQ(ime.imm->caretPositions.back().x, c.caretAt.x);
      EXPECT_EQ(ime.imm->caretPositions.back().y, c.caretAt.y);
    } else {
      EXPECT_TRUE(ime.imm->caretPositions.empty());
    }
    EXPECT_EQ(ime.imm->contextsHeld, 0);

    AbortImeComposition(ime.host, ime.handler.get());
    EXPECT_FALSE(ime.imm->caretExists);
  }
}

struct LocationCase {
  const char* what;
  uint32_t rangeFrom;
  int caretIndex;
  int expectedX;  // -1: the candidate list is not moved
};

const LocationCase kLocationCases[] = {
    {"no caret index: the composition's first character", 7, -1, 10},
    {"caret index inside the composition", 0, 2, 42},
    {"caret index in page text, past the range start", 7, 8, 26},
    {"caret index before the range start counts from the composition", 7, 1, 26},
    {"caret index past the last character", 0, 3, -1},
    {"no rectangles reported for it", 7, 12, -1},
};

TEST(CandidateWindowTest, CharacterChosenByCaretIndexAndCompositionRange) {
  for (const LocationCase& c : kLocationCases) {
    SCOPED_TRACE(c.what);
    ImeSetup ime;
    ime.handler->SetCompositionRange(CefRange(c.rangeFrom, c.rangeFrom + 3), kThreeCharacters);
    ime.imm->candidateForms.clear();
    ime.handler->SetCaretIndex(c.caretIndex);
    if (c.expectedX < 0) {
      EXPECT_TRUE(ime.imm->candidateForms.empty());
    } else {
      ASSERT_EQ(ime.imm->candidateForms.size(), 1u);
      EXPECT_EQ(ime.imm->candidateForms[0].ptCurrentPos.x, c.expectedX);
    }
  }
}

TEST(CandidateWindowTest, LeftAloneWhenTheWindowHasNoFocus) {
  ImeSetup ime(LayoutOf(0x0804));
  ime.imm->focus = nullptr;
  ime.handler->SetCompositionRange(CefRange(0, 3), kThreeCharacters);
  ime.handler->SetCaretIndex(0);
  EXPECT_TRUE(ime.imm->candidateForms.empty());
  EXPECT_TRUE(ime.imm->caretPositions.empty());
}

TEST(CandidateWindowTest, CompositionMovesItToTheCharacterBeforeTheCursor) {
  ImeSetup ime;
  ime.handler->SetCompositionRange(CefRange(0, 3), kThreeCharacters);
  ime.imm->SetText(GCS_COMPSTR, L"abc");
  ime.imm->cursor = 3;
  ime.imm->candidateForms.clear();
  CommitImeComposition(GCS_COMPSTR | GCS_CURSORPOS, ime.host, ime.handler.get());
  ASSERT_EQ(ime.imm->candidateForms.size(), 1u);
  EXPECT_EQ(ime.imm->candidateForms[0].ptCurrentPos.x, 42);
}

struct LayoutCase {
  const char* what;
  UINT_PTR layout;
  LANGID expected;
};

const LayoutCase kLayoutCases[] = {
    {"Chinese IME layout", 0xE0200804, 0x0804},
    {"Japanese keyboard", 0x04110411, 0x0411},
    {"no layout", 0, ImeHandler::kFallbackLanguage},
};

TEST(InputLanguageTest, ReadFromTheKeyboardLayoutAtStartAndOnChange) {
  for (const LayoutCase& c : kLayoutCases) {
    SCOPED_TRACE(c.what);
    ImeSetup atStart(reinterpret_cast<HKL>(c.layout));
    EXPECT_EQ(atStart.handler->input_language(), c.expected);

    ImeSetup changed(LayoutOf(0x0412));
    LRESULT result = 0;
    EXPECT_TRUE(RouteImeMessage(changed.window.get(), WM_INPUTLANGCHANGE, 0, static_cast<LPARAM>(c.layout), nullptr,
                                changed.handler.get(), result));
    EXPECT_EQ(changed.handler->input_language(), c.expected);
  }
}

TEST(InputLanguageTest, SwitchingAwayFromChineseRemovesTheCaret) {
  ImeSetup ime(LayoutOf(0x0804));
  ime.handler->PrepareCaret();
  ASSERT_TRUE(ime.imm->caretExists);
  ime.handler->SetKeyboardLayout(LayoutOf(0x0409));
  EXPECT_FALSE(ime.imm->caretExists);
  ime.handler->PrepareCaret();
  EXPECT_FALSE(ime.imm->caretExists);
}

}  // namespace
