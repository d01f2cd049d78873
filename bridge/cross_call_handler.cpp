#include "bridge/cross_call_handler.h"

#include "engine/include/cef_browser.h"
#include "engine/include/cef_values.h"

bool CrossCallHandler::Execute(const CefString& name, CefRefPtr<CefV8Value>, const CefV8ValueList& arguments,
                               CefRefPtr<CefV8Value>&, CefString&) {
  CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(name);
  CefRefPtr<CefListValue> list = message->GetArgumentList();
  const size_t count = arguments.size();
  if (count == 0) return true;

  // Entry 0 is the callback id; the call's arguments follow from entry 1.
  const bool hasCallback = arguments.back()->IsFunction();
  if (hasCallback) {
    list->SetSize(count);
    list->SetInt(0, callbacks_->Add(CefV8Context::GetCurrentContext(), arguments.back()));
  } else {
    list->SetSize(count + 1);
    list->SetInt(0, 0);
  }
  for (size_t i = 1; i <= count; ++i) {
    const CefRefPtr<CefV8Value>& value = arguments[i - 1];
    // The order matters: every number is a double, so ints arrive as doubles.
    if (value->IsBool()) {
      list->SetBool(i, value->GetBoolValue());
    } else if (value->IsDouble()) {
      list->SetDouble(i, value->GetDoubleValue());
    } else if (value->IsInt()) {
      list->SetInt(i, value->GetIntValue());
    } else if (value->IsUInt()) {
      list->SetInt(i, static_cast<int>(value->GetUIntValue()));
    } else if (value->IsString()) {
      list->SetString(i, value->GetStringValue());
    } else if (i == count && hasCallback) {
      break;  // the callback itself is not passed on
    } else {
      list->SetNull(i);
    }
  }

  // Always through the main frame, also for a call from a sub-frame.
  CefRefPtr<CefV8Context> context = CefV8Context::GetCurrentContext();
  if (context) context->GetBrowser()->GetMainFrame()->SendProcessMessage(PID_BROWSER, message);
  return true;
}
