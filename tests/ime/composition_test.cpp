// WM_IME_COMPOSITION: what the input context holds reaches the page as a
// composition with underlines, or as committed text.

#include <gtest/gtest.h>

#include "browser/ime_routing.h"
#include "ime_fakes.h"

namespace {

constexpr LPARAM kComposition = GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE | GCS_CURSORPOS;

struct ExpectedUnderline {
  uint32_t from, to;
  int thick;
};

void ExpectUnderlines(const std::vector<CefCompositionUnderline>& actual,
                      const std::vector<ExpectedUnderline>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(actual[i].range.from, expected[i].from);
    EXPECT_EQ(actual[i].range.to, expected[i].to);
    EXPECT_EQ(actual[i].thick, expected[i].thick);
    EXPECT_EQ(actual[i].color, 0xFF000000u);
    EXPECT_EQ(actual[i].background_color, 0x00000000u);
    EXPECT_EQ(actual[i].style, CEF_CUS_SOLID);
  }
}

TEST(ImeCompositionTest, ClausesGiveOneUnderlineEachWithTheTargetThick) {
  ImeSetup ime;
  ime.imm->SetText(GCS_COMPSTR, L"\u4f60\u597d\u4e16\u754c");
  ime.imm->parts[GCS_COMPATTR] = {ATTR_CONVERTED, ATTR_CONVERTED, ATTR_TARGET_CONVERTED, ATTR_TARGET_CONVERTED};
  ime.imm->SetClauses({0, 2, 4});
  ime.imm->cursor = 4;

  CommitImeComposition(kComposition, ime.host, ime.handler.get());

  ASSERT_EQ(ime.host->calls.size(), 1u);
  const ImeCall& call = ime.host->calls[0];
  EXPECT_EQ(call.kind, ImeCall::kSetComposition);
  EXPECT_EQ(call.text, L"\u4f60\u597d\u4e16\u754c");
  ExpectUnderlines(call.underlines, {{0, 2, 0}, {2, 4, 1}});
  EXPECT_EQ(call.replacement.from, UINT32_MAX);
  EXPECT_EQ(call.replacement.to, UINT32_MAX);
  EXPECT_EQ(call.selection.from, 4u);
  EXPECT_EQ(call.selection.to, 8u);
  EXPECT_TRUE(ime.handler->composing());
  EXPECT_EQ(ime.imm->contextsHeld, 0);
}

struct DefaultUnderlineCase {
  const char* what;
  std::vector<BYTE> attributes;  // empty: the message carries no GCS_COMPATTR
  std::vector<ExpectedUnderline> expected;
};

const DefaultUnderlineCase kDefaultUnderlineCases[] = {
    // Typed, target, typed: thin, thick, thin.
    {"target in the middle", {0, 1, 3, 0, 0}, {{0, 1, 0}, {1, 3, 1}, {3, 5, 0}}},
    {"target at the start", {1, 1, 0, 0, 0}, {{0, 2, 1}, {2, 5, 0}}},
    {"target at the end", {0, 0, 0, 3, 3}, {{0, 3, 0}, {3, 5, 1}}},
    {"all target", {1, 1, 1, 1, 1}, {{0, 5, 1}}},
    // No target: everything is typed text, one thin line.
    {"no target attribute", {0, 0, 2, 0, 0}, {{0, 5, 0}}},
    {"no attributes at all", {}, {{0, 5, 0}}},
};

TEST(ImeCompositionTest, WithoutClausesUpToThreeDefaultUnderlines) {
  for (const DefaultUnderlineCase& c : kDefaultUnderlineCases) {
    SCOPED_TRACE(c.what);
    ImeSetup ime;
    ime.imm->SetText(GCS_COMPSTR, L"nihao");
    LPARAM flags = GCS_COMPSTR;
    if (!c.attributes.empty()) {
      ime.imm->parts[GCS_COMPATTR] = c.attributes;
      flags |= GCS_COMPATTR;
    }
    CommitImeComposition(flags, ime.host, ime.handler.get());
    ASSERT_EQ(ime.host->calls.size(), 1u);
    ExpectUnderlines(ime.host->calls[0].underlines, c.expected);
  }
}

struct CursorCase {
  const char* what;
  LPARAM flags;
  uint32_t selectionStart;
};

const CursorCase kCursorCases[] = {
    {"cursor position given", GCS_COMPSTR | GCS_CURSORPOS, 2},
    // The IME keeps the caret where it is: the selection starts at 0.
    {"CS_NOMOVECARET wins over the position", GCS_COMPSTR | GCS_CURSORPOS | CS_NOMOVECARET, 0},
    {"no cursor position", GCS_COMPSTR, 0},
};

TEST(ImeCompositionTest, SelectionStartsAtTheCursorUnlessTheCaretStays) {
  for (const CursorCase& c : kCursorCases) {
    SCOPED_TRACE(c.what);
    ImeSetup ime;
    ime.imm->SetText(GCS_COMPSTR, L"abc");
    ime.imm->cursor = 2;
    CommitImeComposition(c.flags, ime.host, ime.handler.get());
    ASSERT_EQ(ime.host->calls.size(), 1u);
    EXPECT_EQ(ime.host->calls[0].selection.from, c.selectionStart);
    EXPECT_EQ(ime.host->calls[0].selection.to, c.selectionStart + 3);
  }
}

TEST(ImeCompositionTest, ResultIsCommittedBeforeTheNewComposition) {
  ImeSetup ime;
  ime.imm->SetText(GCS_RESULTSTR, L"\u4f60");
  ime.imm->SetText(GCS_COMPSTR, L"hao");

  CommitImeComposition(GCS_RESULTSTR | GCS_COMPSTR, ime.host, ime.handler.get());

  ASSERT_EQ(ime.host->calls.size(), 2u);
  EXPECT_EQ(ime.host->calls[0].kind, ImeCall::kCommitText);
  EXPECT_EQ(ime.host->calls[0].text, L"\u4f60");
  EXPECT_EQ(ime.host->calls[0].replacement.from, UINT32_MAX);
  EXPECT_EQ(ime.host->calls[1].kind, ImeCall::kSetComposition);
  EXPECT_EQ(ime.host->calls[1].text, L"hao");
  EXPECT_TRUE(ime.handler->composing());
}

struct EndingCase {
  const char* what;
  LPARAM flags;
  std::vector<ImeCall::Kind> expected;
};

const EndingCase kEndingCases[] = {
    // The user deleted the whole composition.
    {"empty composition string", GCS_COMPSTR | GCS_COMPATTR, {ImeCall::kCancelComposition}},
    {"no composition in the message", 0, {ImeCall::kCancelComposition}},
    // A candidate chosen: committed, then the now empty composition goes.
    {"result only", GCS_RESULTSTR, {ImeCall::kCommitText, ImeCall::kCancelComposition}},
};

TEST(ImeCompositionTest, NoCompositionLeftCancelsThePagesComposition) {
  for (const EndingCase& c : kEndingCases) {
    SCOPED_TRACE(c.what);
    ImeSetup ime;
    ime.imm->SetText(GCS_COMPSTR, L"ni");
    CommitImeComposition(GCS_COMPSTR, ime.host, ime.handler.get());
    ASSERT_TRUE(ime.handler->composing());
    ime.imm->SetText(GCS_COMPSTR, L"");
    ime.imm->SetText(GCS_RESULTSTR, L"\u4f60");
    ime.host->calls.clear();

    CommitImeComposition(c.flags, ime.host, ime.handler.get());

    std::vector<ImeCall::Kind> kinds;
    for (const ImeCall& call : ime.host->calls) kinds.push_back(call.kind);
    EXPECT_EQ(kinds, c.expected);
    EXPECT_FALSE(ime.handler->composing());
  }
}

TEST(ImeCompositionTest, WithoutAnInputContextNothingIsReadAndThePageCancels) {
  ImeSetup ime;
  ime.imm->SetText(GCS_RESULTSTR, L"\u4f60");
  ime.imm->SetText(GCS_COMPSTR, L"hao");
  ime.imm->hasContext = false;
  CommitImeComposition(GCS_RESULTSTR | GCS_COMPSTR, ime.host, ime.handler.get());
  ASSERT_EQ(ime.host->calls.size(), 1u);
  EXPECT_EQ(ime.host->calls[0].kind, ImeCall::kCancelComposition);
}

}  // namespace
