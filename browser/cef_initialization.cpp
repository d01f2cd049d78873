#include "browser/cef_initialization.h"

#include <windows.h>

#include <string>

#include "browser/web_app.h"
#include "engine/include/cef_app.h"

namespace {

constexpr int kRemoteDebuggingPort = 2088;

// The executable's folder without its trailing backslash (a path without a
// backslash is taken whole).
std::wstring ExecutableDirectory() {
  wchar_t path[1024] = {};
  GetModuleFileNameW(nullptr, path, 1024);
  std::wstring directory = path;
  const size_t slash = directory.find_last_of(L'\\');
  if (slash != std::wstring::npos) directory.resize(slash);
  return directory;
}

}  // namespace

int InitializeCef(bool persist) {
  CefEnableHighDPISupport();
  CefRefPtr<WebApp> app = new WebApp();
  const CefMainArgs args(GetModuleHandleW(nullptr));
  if (CefExecuteProcess(args, app.get(), nullptr) >= 0) return -1;

  const std::wstring directory = ExecutableDirectory();
  CefSettings settings;
  settings.no_sandbox = 1;
  settings.windowless_rendering_enabled = 1;
  settings.multi_threaded_message_loop = 0;
  settings.external_message_pump = 0;
  settings.persist_session_cookies = persist ? 1 : 0;
  settings.persist_user_preferences = 1;
  settings.locale.FromASCII("zh-CN");
  settings.log_severity = LOGSEVERITY_FATAL;
  settings.remote_debugging_port = kRemoteDebuggingPort;
  settings.background_color = 0;
  if (persist) settings.cache_path = directory + L"\\cache_data\\cookies\\";
  settings.locales_dir_path = directory + L"\\locales";
  return CefInitialize(args, settings, app.get(), nullptr) ? 0 : -2;
}
