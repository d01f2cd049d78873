#include "tests/engine_launch/fake_browser.h"

#include <winsock2.h>
#include <shellapi.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/launch/loopback_socket.h"
#include "engine/launch/utf16_text.h"
#include "engine/net/winsock_init.h"

namespace {

std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 0; words && i < count; ++i) arguments.push_back(Utf16ToUtf8(words[i]));
  LocalFree(words);
  return arguments;
}

bool Has(const std::vector<std::string>& arguments, const std::string& word) {
  for (const std::string& argument : arguments) {
    if (argument == word) return true;
  }
  return false;
}

[[noreturn]] void Serve(const std::vector<std::string>& arguments) {
  uint16_t port = 0;
  const std::string portSwitch = "--remote-debugging-port=";
  for (const std::string& argument : arguments) {
    if (argument.compare(0, portSwitch.size(), portSwitch) == 0)
      port = static_cast<uint16_t>(std::strtoul(argument.c_str() + portSwitch.size(), nullptr, 10));
  }
  WinsockSession winsock;
  SocketHandle listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(listener.Get(), 8) != 0)
    ExitProcess(3);
  const std::string body =
      nlohmann::json{{"webSocketDebuggerUrl", "ws://127.0.0.1:" + std::to_string(port) + "/devtools/browser/fake"},
                     {"arguments", arguments}}
          .dump();
  const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                            std::to_string(body.size()) + "\r\n\r\n" + body;
  // Ended by the code under test; should that fail, it ends itself after a
  // while rather than linger (and hold the test runner's output open).
  const ULONGLONG giveUpAt = GetTickCount64() + 60000;
  while (GetTickCount64() < giveUpAt) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener.Get(), &readable);
    timeval second{1, 0};
    if (select(0, &readable, nullptr, nullptr, &second) != 1) continue;
    SocketHandle client(accept(listener.Get(), nullptr, nullptr));
    std::string request;
    char buffer[1024];
    int n;
    while (request.find("\r\n\r\n") == std::string::npos && (n = recv(client.Get(), buffer, sizeof(buffer), 0)) > 0)
      request.append(buffer, static_cast<size_t>(n));
    send(client.Get(), reply.data(), static_cast<int>(reply.size()), 0);
  }
  ExitProcess(4);
}

// Runs before main, so the stand-in never reaches GoogleTest.
[[maybe_unused]] const bool fakeBrowserChecked = [] {
  const std::vector<std::string> arguments = Arguments();
  if (Has(arguments, std::string("--") + kFakeBrowserThatEndsSwitch)) ExitProcess(0);
  if (Has(arguments, std::string("--") + kFakeBrowserSwitch)) Serve(arguments);
  return false;
}();

}  // namespace
