#pragma once
// A minimal blocking HTTP/1.1 GET to the browser's debugging port on
// 127.0.0.1, enough to read /json/version while the browser starts. Needs a
// WinsockSession.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

struct HttpResponse {
  int status = 0;
  std::string body;  // bytes as received
};

// GET http://127.0.0.1:<port><path>. Nothing when no complete response
// arrives within the time-out (refused, closed early, malformed, too slow).
// A response must carry Content-Length or end with the connection; chunked
// bodies are not read (the browser's debugging server never sends them).
std::optional<HttpResponse> HttpGetLoopback(uint16_t port, const std::string& path,
                                            std::chrono::milliseconds timeout);

// The "webSocketDebuggerUrl" of a /json/version body (UTF-8), or "" when the
// body is not a JSON object holding it as a string.
std::string WebSocketDebuggerUrlOf(const std::string& versionBody);

// The browser's WebSocket address from http://127.0.0.1:<port>/json/version,
// or "" when the port does not (yet) answer with one.
std::string FetchWebSocketDebuggerUrl(uint16_t port, std::chrono::milliseconds timeout);
