#pragma once
// The browser side's messages to the page's renderer: a reply for a page
// callback ("cross_call") and a script to run ("EvalJS"), both sent through
// the browser's main frame, also when the request came from a sub-frame.

#include "engine/include/cef_browser.h"

// False (nothing sent) without a browser or main frame. A NULL text is sent
// as the empty string.
bool SendReplyToPage(CefRefPtr<CefBrowser> browser, int callbackId, const wchar_t* text);
bool SendScriptToPage(CefRefPtr<CefBrowser> browser, const wchar_t* script);
