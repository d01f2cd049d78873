#pragma once
// The page's requests: one request text in, one reply text out.

#include <optional>
#include <string>

#include "commands/script_call.h"

// Runs the request of one page call. requestText is nullptr when the call
// carried no request (the reply then says so with an empty func and code -1).
// Returns the styled reply text (plain ASCII), or nullopt when callbackId is 0
// and the page wants no reply.
std::optional<std::string> RunScriptCall(int callbackId, const std::string* requestText,
                                         CommandEnvironment& environment);

// The reply text as the browser takes it: UTF-16, one unit per character.
// Empty when the text cannot be converted.
std::wstring ReplyTextToUtf16(const std::string& replyText);
