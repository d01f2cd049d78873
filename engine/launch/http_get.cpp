#include "engine/launch/http_get.h"

#include <winsock2.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "engine/launch/loopback_socket.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kMaxResponseBytes = 1 << 20;  // /json/version is a few hundred bytes

bool SendAll(SOCKET socket, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const int n = send(socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// Waits until the socket has something to read (or its end) before the deadline.
bool WaitReadable(SOCKET socket, Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left <= 0) return false;
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(socket, &readable);
  timeval wait{static_cast<long>(left / 1000), static_cast<long>(left % 1000 * 1000)};
  return select(0, &readable, nullptr, nullptr, &wait) == 1;
}

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

struct ResponseHead {
  int status = 0;
  std::optional<size_t> contentLength;
  bool chunked = false;
};

// Parses the status line and the headers we care about; nothing when malformed.
std::optional<ResponseHead> ParseHead(const std::string& head) {
  ResponseHead parsed;
  if (head.compare(0, 7, "HTTP/1.") != 0 || head.size() < 12 || head[8] != ' ') return std::nullopt;
  parsed.status = std::atoi(head.c_str() + 9);
  if (parsed.status < 100 || parsed.status > 999) return std::nullopt;
  size_t line = head.find("\r\n");
  while (line != std::string::npos && line + 2 < head.size()) {
    const size_t start = line + 2;
    const size_t end = head.find("\r\n", start);
    const std::string header = head.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const size_t colon = header.find(':');
    if (colon != std::string::npos) {
      const std::string name = Lowercase(header.substr(0, colon));
      std::string value = header.substr(colon + 1);
      value.erase(0, value.find_first_not_of(" \t"));
      if (name == "content-length") parsed.contentLength = std::strtoull(value.c_str(), nullptr, 10);
      if (name == "transfer-encoding" && Lowercase(value).find("chunked") != std::string::npos)
        parsed.chunked = true;
    }
    line = end;
  }
  return parsed;
}

}  // namespace

std::optional<HttpResponse> HttpGetLoopback(uint16_t port, const std::string& path,
                                            std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  SocketHandle socket = ConnectToLoopback(port, timeout);
  if (!socket) return std::nullopt;
  const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nAccept: application/json\r\nConnection: close\r\n\r\n";
  if (!SendAll(socket.Get(), request)) return std::nullopt;

  std::string received;
  std::optional<ResponseHead> head;
  size_t bodyStart = 0;
  for (;;) {
    if (head && head->contentLength && received.size() - bodyStart >= *head->contentLength) break;
    if (received.size() > kMaxResponseBytes || !WaitReadable(socket.Get(), deadline)) return std::nullopt;
    char buffer[4096];
    const int n = recv(socket.Get(), buffer, sizeof(buffer), 0);
    if (n < 0) return std::nullopt;
    if (n == 0) {
      // The end of the connection ends a body without Content-Length.
      if (!head || head->contentLength) return std::nullopt;
      break;
    }
    received.append(buffer, static_cast<size_t>(n));
    if (!head) {
      const size_t headEnd = received.find("\r\n\r\n");
      if (headEnd == std::string::npos) continue;
      head = ParseHead(received.substr(0, headEnd + 2));
      if (!head || head->chunked) return std::nullopt;
      bodyStart = headEnd + 4;
    }
  }
  HttpResponse response;
  response.status = head->status;
  response.body = received.substr(bodyStart, head->contentLength.value_or(std::string::npos));
  return response;
}

std::string WebSocketDebuggerUrlOf(const std::string& versionBody) {
  const nlohmann::json version = nlohmann::json::parse(versionBody, nullptr, /*allow_exceptions=*/false);
  if (!version.is_object()) return {};
  const auto url = version.find("webSocketDebuggerUrl");
  if (url == version.end() || !url->is_string()) return {};
  return url->get<std::string>();
}

std::string FetchWebSocketDebuggerUrl(uint16_t port, std::chrono::milliseconds timeout) {
  const std::optional<HttpResponse> response = HttpGetLoopback(port, "/json/version", timeout);
  if (!response || response->status != 200) return {};
  return WebSocketDebuggerUrlOf(response->body);
}
