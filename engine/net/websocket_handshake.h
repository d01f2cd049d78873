#pragma once
// The HTTP/1.1 upgrade that opens a WebSocket connection (RFC 6455, section
// 4), client side: the address, the request, and the checks on the reply.

#include <winsock2.h>

#include <cstdint>
#include <string>
#include <string_view>

struct WebSocketAddress {
  std::string host;     // as written in the address, for the Host header
  in_addr ipv4{};       // where to connect
  uint16_t port = 80;
  std::string path;     // from the first '/' on, query included; "/" when absent
};

// Reads ws://host[:port][/path][?query]. The host is an IPv4 literal (or
// "localhost", taken as 127.0.0.1): the browser we talk to listens on the
// loopback, and no name lookup is wanted. False for anything else (wss://,
// user info, a fragment, a bad port, spaces or control bytes in the path).
bool ParseWebSocketUrl(std::string_view url, WebSocketAddress& out);

// The value the server must answer a Sec-WebSocket-Key with:
// base64(SHA-1(key + the protocol's fixed GUID)).
std::string WebSocketAcceptFor(std::string_view key);

// The GET request asking for the upgrade. No Origin header: the browser's
// debugging port refuses connections whose Origin it was not told to allow.
std::string BuildUpgradeRequest(const WebSocketAddress& address, std::string_view key);

// True when responseHead (status line and headers, up to the blank line)
// accepts the upgrade for key: status 101, "Upgrade: websocket", a Connection
// header naming "upgrade", the matching Sec-WebSocket-Accept, and no
// extension or subprotocol, since none was asked for.
bool IsUpgradeAccepted(std::string_view responseHead, std::string_view key);
