#include "bridge/renderer_messages.h"

#include "bridge/script_messages.h"
#include "engine/include/cef_v8.h"

bool HandleRendererMessage(CefRefPtr<CefBrowser> browser, CefRefPtr<CefProcessMessage> message,
                           CallbackRegistry& callbacks) {
  const std::string name = message->GetName().ToString();
  CefRefPtr<CefListValue> list = message->GetArgumentList();
  if (name == ScriptMessage::kEvalScript) {
    if (list->GetSize() != 1) return true;
    CefRefPtr<CefV8Context> context = browser->GetMainFrame()->GetV8Context();
    if (!context || !context->Enter()) return true;
    CefRefPtr<CefV8Value> result;
    CefRefPtr<CefV8Exception> exception;
    context->Eval(list->GetString(0), CefString(), 0, result, exception);  // result and errors are dropped
    context->Exit();
    return true;
  }
  if (name == ScriptMessage::kReply) {
    if (list->GetSize() == 2) callbacks.Invoke(list->GetInt(0), list->GetString(1));
    return true;
  }
  return false;
}
