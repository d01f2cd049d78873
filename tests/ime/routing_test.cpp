// The window's IME messages: what reaches the page and what the window
// procedure answers.

#include <gtest/gtest.h>

#include "browser/ime_routing.h"
#include "ime_fakes.h"

namespace {

const std::vector<CefRect> kOneCharacter = {{5, 6, 7, 8}};

TEST(ImeRoutingTest, OnlyImeMessagesAreTaken) {
  ImeSetup ime;
  LRESULT result = 1234;
  for (UINT message : {WM_KEYDOWN, WM_CHAR, WM_IME_CHAR, WM_IME_NOTIFY, WM_SETFOCUS}) {
    EXPECT_FALSE(RouteImeMessage(ime.window.get(), message, 0, 0, ime.host, ime.handler.get(), result));
  }
  EXPECT_EQ(result, 1234);
  EXPECT_TRUE(ime.host->calls.empty());
}

TEST(ImeRoutingTest, WithoutABrowserNothingReachesThePage) {
  ImeSetup ime;
  ime.imm->SetText(GCS_COMPSTR, L"ni");
  for (UINT message : {WM_IME_SETCONTEXT, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION}) {
    LRESULT result = 0;
    EXPECT_TRUE(RouteImeMessage(ime.window.get(), message, 0, GCS_COMPSTR, nullptr, ime.handler.get(), result));
  }
  EXPECT_FALSE(ime.handler->composing());
  EXPECT_TRUE(ime.imm->candidateForms.empty());
}

TEST(ImeRoutingTest, ACompositionFromStartToEnd) {
  ImeSetup ime(LayoutOf(0x0804));
  ime.handler->SetCompositionRange(CefRange(0, 1), kOneCharacter);
  ime.imm->candidateForms.clear();
  LRESULT result = -1;

  // Activation: the candidate list is placed and the caret made.
  EXPECT_TRUE(RouteImeMessage(ime.window.get(), WM_IME_SETCONTEXT, TRUE, ISC_SHOWUIALL, ime.host, ime.handler.get(),
                              result));
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(ime.imm->caretExists);
  EXPECT_FALSE(ime.imm->candidateForms.empty());

  ime.imm->SetText(GCS_COMPSTR, L"ni");
  ime.handler->SetCaretIndex(0);
  EXPECT_TRUE(RouteImeMessage(ime.window.get(), WM_IME_STARTCOMPOSITION, 0, 0, ime.host, ime.handler.get(), result));
  EXPECT_EQ(result, 0);

  result = -1;
  EXPECT_TRUE(RouteImeMessage(ime.window.get(), WM_IME_COMPOSITION, 0, GCS_COMPSTR, ime.host, ime.handler.get(),
                              result));
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(ime.handler->composing());

  ime.imm->SetText(GCS_RESULTSTR, L"\u4f60");
  ime.imm->parts.erase(GCS_COMPSTR);
  EXPECT_TRUE(RouteImeMessage(ime.window.get(), WM_IME_COMPOSITION, 0, GCS_RESULTSTR, ime.host, ime.handler.get(),
                              result));
  EXPECT_TRUE(RouteImeMessage(ime.window.get(), WM_IME_ENDCOMPOSITION, 0, 0, ime.host, ime.handler.get(), result));

  std::vector<ImeCall::Kind> kinds;
  for (const ImeCall& call : ime.host->calls) kinds.push_back(call.kind);
  EXPECT_EQ(kinds, (std::vector<ImeCall::Kind>{ImeCall::kSetComposition, ImeCall::kCommitText,
                                               ImeCall::kCancelComposition, ImeCall::kCancelComposition}));
  EXPECT_EQ(ime.host->calls[1].text, L"\u4f60");
  EXPECT_FALSE(ime.handler->composing());
  EXPECT_FALSE(ime.imm->caretExists);
  EXPECT_EQ(ime.imm->contextsHeld, 0);
}

TEST(ImeRoutingTest, StartingACompositionForgetsTheOldCaretIndex) {
  ImeSetup ime;
  ime.handler->SetCompositionRange(CefRange(4, 6), {{1, 1, 1, 1}, {50, 1, 1, 1}});
  ime.handler->SetCaretIndex(1);
  LRESULT result = 0;
  RouteImeMessage(ime.window.get(), WM_IME_STARTCOMPOSITION, 0, 0, ime.host, ime.handler.get(), result);
  ime.imm->candidateForms.clear();
  // The next report places the list at the composition's start again.
  ime.handler->SetCompositionRange(CefRange(4, 6), {{1, 1, 1, 1}, {50, 1, 1, 1}});
  ASSERT_EQ(ime.imm->candidateForms.size(), 1u);
  EXPECT_EQ(ime.imm->candidateForms[0].ptCurrentPos.x, 1);
}

}  // namespace
