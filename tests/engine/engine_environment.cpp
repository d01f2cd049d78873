// Starts the engine once for the test program, with the application's WebApp
// and the project's Chromium wrapper, and handles the relaunched child modes.

#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "browser/cef_initialization.h"
#include "browser/web_app.h"
#include "tests/common/test_support.h"
#include "tests/engine/engine_fixture.h"

namespace {

// The repository, from build*/tests/<program>.exe.
std::string RepositoryFolder() { return testing_support::TestProgramFolder() + "..\\..\\"; }

// The wrapper is a Unix script: Wine starts it by its Unix path.
void UseProjectBrowser() {
  if (getenv("TARNWICK_BROWSER")) return;
  char full[MAX_PATH * 2] = {};
  GetFullPathNameA((RepositoryFolder() + "tools\\browser\\chromium-under-wine").c_str(), sizeof(full), full, nullptr);
  std::string path = full;
  if (path.size() > 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
  for (char& c : path)
    if (c == '\\') c = '/';
  SetEnvironmentVariableA("TARNWICK_BROWSER", path.c_str());
}

int FreePort() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  int length = sizeof(address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(s);
  return ntohs(address.sin_port);
}

// Child modes: the test program relaunched with an argument acts out one case
// and ends before any test runs.
const bool kChildMode = [] {
  const char* line = GetCommandLineA();
  if (strstr(line, "--type=renderer")) ExitProcess(InitializeCef(true) == -1 ? 0 : 3);
  if (strstr(line, "--twk-child=no-browser")) {
    SetEnvironmentVariableA("TARNWICK_BROWSER", "Z:\\nonexistent\\no-browser.exe");
    ExitProcess(static_cast<UINT>(-InitializeCef(false)));
  }
  return false;
}();

bool g_ready = false;
int g_debuggingPort = 0;

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    UseProjectBrowser();
    CefRefPtr<WebApp> app = new WebApp();
    CefSettings settings;
    settings.no_sandbox = 1;
    settings.windowless_rendering_enabled = 1;
    settings.remote_debugging_port = g_debuggingPort = FreePort();
    settings.locale.FromASCII("zh-CN");
    g_ready = CefInitialize(CefMainArgs(GetModuleHandleW(nullptr)), settings, app.get(), nullptr);
  }
  void TearDown() override { CefShutdown(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace

bool EngineSession::Ready() { return g_ready; }

int EngineSession::DebuggingPort() { return g_debuggingPort; }

CefRefPtr<CefBrowser> EngineSession::Open(const std::string& html, CefRefPtr<RecordingClient>& client) {
  client = new RecordingClient();
  CefWindowInfo window;
  window.SetAsWindowless(nullptr);
  CefBrowserSettings settings;
  settings.windowless_frame_rate = 60;
  std::string encoded;
  for (unsigned char c : html) {
    char hex[4];
    snprintf(hex, sizeof(hex), "%%%02X", c);
    encoded += isalnum(c) ? std::string(1, static_cast<char>(c)) : std::string(hex);
  }
  CefRefPtr<CefBrowser> browser = CefBrowserHost::CreateBrowserSync(
      window, client.get(), "data:text/html;charset=utf-8," + encoded, settings, nullptr, nullptr);
  if (browser) RunUntil([&] { return client->loadsEnded > 0; });
  return browser;
}

bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    CefDoMessageLoopWork();
  }
  return true;
}
