#pragma once
// What every reply of the dispatcher must be, whatever the request.

#include <optional>
#include <string>

// The func and tag of a request as the dispatcher reads them; requestText is
// nullptr for a call without a request.
struct RequestRead {
  std::string func;
  int tag = 0;
};
RequestRead ReadLikeTheDispatcher(const std::string* requestText);

// What is wrong with the reply RunScriptCall gave for the request; empty when
// nothing is.
std::string ReplyProblem(int callbackId, const RequestRead& request, const std::optional<std::string>& reply);
