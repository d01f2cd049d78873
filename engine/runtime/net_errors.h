#pragma once
// The framework's error code for a network error name such as
// "net::ERR_CONNECTION_REFUSED" (ERR_FAILED for names it does not know).

#include <string>

int NetErrorCode(const std::string& errorText);
