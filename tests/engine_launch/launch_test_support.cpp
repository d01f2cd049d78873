#include "tests/engine_launch/launch_test_support.h"

#include <windows.h>

#include "engine/launch/loopback_socket.h"
#include "engine/launch/utf16_text.h"
#include "engine/launch/wine_unix_path.h"
#include "engine/net/winsock_init.h"

namespace launch_testing {

std::string WrapperPath() {
  wchar_t program[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH * 2);
  std::wstring folder = program;
  folder.resize(folder.find_last_of(L'\\') + 1);
  wchar_t root[MAX_PATH * 2] = {};
  if (!GetFullPathNameW((folder + L"..\\..").c_str(), MAX_PATH * 2, root, nullptr)) return {};
  const std::string unixRoot = UnixPathUnderWine(Utf16ToUtf8(root));
  return unixRoot.empty() ? std::string() : unixRoot + "/tools/browser/chromium-under-wine";
}

uint16_t UnusedLoopbackPort() {
  WinsockSession winsock;
  uint16_t port = 0;
  SocketHandle probe = ListenOnLoopback(1, &port);
  return probe ? port : 0;  // free again once the probe closes
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(50);
  }
}

ScopedVariable::ScopedVariable(const std::wstring& name, const std::optional<std::string>& utf8Value) : name_(name) {
  const DWORD length = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (length > 0) {
    std::wstring value(length, L'\0');
    value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), length));
    previous_ = value;
  }
  SetEnvironmentVariableW(name.c_str(), utf8Value ? Utf8ToUtf16(*utf8Value).c_str() : nullptr);
}

ScopedVariable::~ScopedVariable() {
  SetEnvironmentVariableW(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

}  // namespace launch_testing
