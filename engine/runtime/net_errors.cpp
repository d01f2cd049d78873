#include "engine/runtime/net_errors.h"

namespace {

struct NetError {
  const char* name;
  int code;
};

// The network errors a page load commonly ends with.
const NetError kNetErrors[] = {
    {"ERR_FAILED", -2},
    {"ERR_ABORTED", -3},
    {"ERR_INVALID_ARGUMENT", -4},
    {"ERR_FILE_NOT_FOUND", -6},
    {"ERR_TIMED_OUT", -7},
    {"ERR_ACCESS_DENIED", -10},
    {"ERR_BLOCKED_BY_CLIENT", -20},
    {"ERR_BLOCKED_BY_RESPONSE", -27},
    {"ERR_CONNECTION_CLOSED", -100},
    {"ERR_CONNECTION_RESET", -101},
    {"ERR_CONNECTION_REFUSED", -102},
    {"ERR_CONNECTION_ABORTED", -103},
    {"ERR_CONNECTION_FAILED", -104},
    {"ERR_NAME_NOT_RESOLVED", -105},
    {"ERR_INTERNET_DISCONNECTED", -106},
    {"ERR_ADDRESS_UNREACHABLE", -109},
    {"ERR_CONNECTION_TIMED_OUT", -118},
    {"ERR_EMPTY_RESPONSE", -324},
    {"ERR_INVALID_URL", -300},
    {"ERR_UNKNOWN_URL_SCHEME", -302},
    {"ERR_INVALID_RESPONSE", -320},
    {"ERR_HTTP_RESPONSE_CODE_FAILURE", -379},
};

}  // namespace

int NetErrorCode(const std::string& errorText) {
  const std::string name = errorText.rfind("net::", 0) == 0 ? errorText.substr(5) : errorText;
  for (const NetError& error : kNetErrors)
    if (name == error.name) return error.code;
  return -2;
}
