#include "browser/page_messages.h"

#include "bridge/script_messages.h"

namespace {

CefRefPtr<CefFrame> MainFrameOf(CefRefPtr<CefBrowser> browser) { return browser ? browser->GetMainFrame() : nullptr; }

}  // namespace

bool SendReplyToPage(CefRefPtr<CefBrowser> browser, int callbackId, const wchar_t* text) {
  CefRefPtr<CefFrame> frame = MainFrameOf(browser);
  if (!frame) return false;
  CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(ScriptMessage::kReply);
  CefRefPtr<CefListValue> arguments = message->GetArgumentList();
  arguments->SetSize(2);
  arguments->SetInt(0, callbackId);
  arguments->SetString(1, CefString(text));
  frame->SendProcessMessage(PID_RENDERER, message);
  return true;
}

bool SendScriptToPage(CefRefPtr<CefBrowser> browser, const wchar_t* script) {
  CefRefPtr<CefFrame> frame = MainFrameOf(browser);
  if (!frame) return false;
  CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(ScriptMessage::kEvalScript);
  CefRefPtr<CefListValue> arguments = message->GetArgumentList();
  arguments->SetSize(1);
  arguments->SetString(0, CefString(script));
  frame->SendProcessMessage(PID_RENDERER, message);
  return true;
}
