#pragma once
// Messages from the browser side to the page: replies to page calls and
// scripts to run.

#include "bridge/callback_registry.h"
#include "engine/include/cef_browser.h"

// True for "cross_call" and "EvalJS" (also when their entry count is wrong and
// they are ignored); false for any other message.
bool HandleRendererMessage(CefRefPtr<CefBrowser> browser, CefRefPtr<CefProcessMessage> message,
                           CallbackRegistry& callbacks);
