#include "engine/net/websocket_handshake.h"

#include <ws2tcpip.h>

#include <optional>

#include "engine/net/base64.h"
#include "engine/net/sha1.h"

namespace {

constexpr std::string_view kAcceptGuid = "258EAFA5-E914-47DA-95CA-C5AB0DC85B11";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The value of the first header named `name` (names compare without case).
std::optional<std::string_view> HeaderValue(std::string_view head, std::string_view name) {
  size_t lineStart = head.find("\r\n");
  while (lineStart != std::string_view::npos) {
    lineStart += 2;
    const size_t lineEnd = head.find("\r\n", lineStart);
    const std::string_view line =
        head.substr(lineStart, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - lineStart);
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsIgnoringCase(line.substr(0, colon), name)) {
      return TrimSpaces(line.substr(colon + 1));
    }
    lineStart = lineEnd;
  }
  return std::nullopt;
}

// A comma-separated header value such as "keep-alive, Upgrade" holds token.
bool HasToken(std::string_view list, std::string_view token) {
  while (!list.empty()) {
    const size_t comma = list.find(',');
    if (EqualsIgnoringCase(TrimSpaces(list.substr(0, comma)), token)) return true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return false;
}

bool IsStatus101(std::string_view head) {
  // "HTTP/1.1 101 Switching Protocols"; the reason text is free.
  const std::string_view status = head.substr(0, head.find("\r\n"));
  return status.size() >= 12 && status.substr(0, 7) == "HTTP/1." && IsDigit(status[7]) &&
         status.substr(8, 4) == " 101" && (status.size() == 12 || status[12] == ' ');
}

}  // namespace

bool ParseWebSocketUrl(std::string_view url, WebSocketAddress& out) {
  constexpr std::string_view kScheme = "ws://";
  if (url.size() < kScheme.size() || !EqualsIgnoringCase(url.substr(0, kScheme.size()), kScheme)) return false;
  const std::string_view rest = url.substr(kScheme.size());
  if (rest.find('#') != std::string_view::npos) return false;

  const size_t authorityEnd = rest.find_first_of("/?");
  const std::string_view authority = rest.substr(0, authorityEnd);
  std::string_view path = authorityEnd == std::string_view::npos ? "/" : rest.substr(authorityEnd);
  for (char c : path) {
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return false;
  }

  std::string_view host = authority;
  uint32_t port = 80;
  const size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos) {
    host = authority.substr(0, colon);
    const std::string_view digits = authority.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) return false;
    port = 0;
    for (char c : digits) {
      if (!IsDigit(c)) return false;
      port = port * 10 + static_cast<uint32_t>(c - '0');
    }
    if (port == 0 || port > 65535) return false;
  }
  if (host.empty() || host.find('@') != std::string_view::npos) return false;

  const std::string literal = EqualsIgnoringCase(host, "localhost") ? "127.0.0.1" : std::string(host);
  in_addr ipv4{};
  if (inet_pton(AF_INET, literal.c_str(), &ipv4) != 1) return false;

  out.host = std::string(host);
  out.ipv4 = ipv4;
  out.port = static_cast<uint16_t>(port);
  out.path = path.front() == '?' ? "/" + std::string(path) : std::string(path);
  return true;
}

std::string WebSocketAcceptFor(std::string_view key) {
  std::string keyAndGuid;
  keyAndGuid.reserve(key.size() + kAcceptGuid.size());
  keyAndGuid.append(key).append(kAcceptGuid);
  const auto digest = Sha1(keyAndGuid);
  return Base64Encode(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
}

std::string BuildUpgradeRequest(const WebSocketAddress& address, std::string_view key) {
  std::string request;
  request.reserve(256);
  request.append("GET ").append(address.path).append(" HTTP/1.1\r\n");
  request.append("Host: ").append(address.host).append(":").append(std::to_string(address.port)).append("\r\n");
  request.append("Upgrade: websocket\r\n");
  request.append("Connection: Upgrade\r\n");
  request.append("Sec-WebSocket-Key: ").append(key).append("\r\n");
  request.append("Sec-WebSocket-Version: 13\r\n");
  request.append("\r\n");
  return request;
}

bool IsUpgradeAccepted(std::string_view responseHead, std::string_view key) {
  if (!IsStatus101(responseHead)) return false;
  const auto upgrade = HeaderValue(responseHead, "Upgrade");
  const auto connection = HeaderValue(responseHead, "Connection");
  const auto accept = HeaderValue(responseHead, "Sec-WebSocket-Accept");
  if (!upgrade || !EqualsIgnoringCase(*upgrade, "websocket")) return false;
  if (!connection || !HasToken(*connection, "upgrade")) return false;
  if (!accept || *accept != WebSocketAcceptFor(key)) return false;
  const auto extensions = HeaderValue(responseHead, "Sec-WebSocket-Extensions");
  const auto protocol = HeaderValue(responseHead, "Sec-WebSocket-Protocol");
  return (!extensions || extensions->empty()) && (!protocol || protocol->empty());
}
