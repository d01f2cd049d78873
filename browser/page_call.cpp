#include "browser/page_call.h"

#include "bridge/script_messages.h"

std::optional<PageCall> ReadPageCall(const CefProcessMessage& message) {
  if (message.GetName().ToString() != ScriptMessage::kCrossCall) return std::nullopt;
  CefRefPtr<CefListValue> arguments = message.GetArgumentList();
  if (!arguments) return std::nullopt;
  PageCall call;
  call.callbackId = arguments->GetInt(0);
  if (arguments->GetSize() >= 2) call.request = arguments->GetString(1).ToString();
  return call;
}
