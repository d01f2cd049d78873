#pragma once
// A page call as the browser side receives it: the "js_api_cross_call"
// process message, read into the callback id and the request text.

#include <optional>
#include <string>

#include "engine/include/cef_values.h"

struct PageCall {
  int callbackId = 0;                  // 0: the page wants no reply
  std::optional<std::string> request;  // UTF-8; none when the call carried no argument
};

// Nothing for a message of another name.
std::optional<PageCall> ReadPageCall(const CefProcessMessage& message);
