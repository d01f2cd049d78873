// tarnwick.exe: the window program. Shows the web UI on a borderless layered
// window with a tray icon and runs the message loop that also drives the
// browser engine.
//
//   tarnwick.exe [http://address/of/the/ui/page]
//
// Exit codes: -1 when another Tarnwick is running (it is brought to the
// front instead), 0 otherwise. Most exits end the process at once with
// TerminateProcess (tray menu "退出", the window destroyed or closed).

#include <windows.h>

#include <cstdio>
#include <ctime>
#include <direct.h>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program_identity.h"
#include "app/single_instance.h"
#include "app/tray_icon.h"
#include "app/ui_address.h"
#include "browser/cef_initialization.h"
#include "commands/script_call.h"
#include "engine/include/cef_app.h"

namespace {

constexpr int kWindowX = 200;
constexpr int kWindowY = 200;
constexpr int kWindowWidth = 1400;
constexpr int kWindowHeight = 720;

// The data files are opened relative to the executable's folder.
void EnterProgramFolder() {
  std::vector<wchar_t> path(32768);
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring folder(path.data(), length);
  const size_t slash = folder.find_last_of(L'\\');
  if (slash == std::wstring::npos) return;
  folder.resize(slash + 1);
  _wchdir(folder.c_str());
}

// A console for the diagnostic lines, kept out of sight. Standard output
// given by the starting process (a pipe or file) stays where it is.
void OpenHiddenConsole() {
  const HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
  const bool hasOutput = given != nullptr && given != INVALID_HANDLE_VALUE;
  AllocConsole();
  if (HWND console = GetConsoleWindow()) ShowWindow(console, SW_HIDE);
  if (!hasOutput) freopen("CONOUT$", "w", stdout);
}

HICON ApplicationIcon(HINSTANCE instance, int sizeMetricX, int sizeMetricY) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIconId), IMAGE_ICON,
                                       GetSystemMetrics(sizeMetricX), GetSystemMetrics(sizeMetricY), LR_SHARED));
}

// Tray icon, window icons, and the window shown.
void PresentMainWindow(HWND window, HINSTANCE instance, TrayIcon& tray) {
  const HICON bigIcon = ApplicationIcon(instance, SM_CXICON, SM_CYICON);
  const HICON smallIcon = ApplicationIcon(instance, SM_CXSMICON, SM_CYSMICON);
  tray.Add(window, smallIcon, kProgramTitle);
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  ShowWindow(window, SW_SHOW);
}

// The only place that drives the engine: after every window message.
void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
    CefDoMessageLoopWork();
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The single-instance check comes before the engine starts: a second
  // browser on the same debugging port and profile would fail to start, and
  // the second start would end without bringing the first one back. The
  // engine's own sub-processes take no part in it.
  SingleInstance singleInstance;
  const bool engineSubProcess = CefCommandLine::GetGlobalCommandLine()->HasSwitch("type");
  if (!engineSubProcess && !singleInstance.Claim(kSingleInstanceMutexName)) {
    HandOffToRunningInstance(kMainWindowClassName);
    return -1;
  }
  if (InitializeCef(true) != 0) {
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
  }
  EnterProgramFolder();
  OpenHiddenConsole();

  CommandEnvironment environment;
  environment.launchTime = static_cast<int64_t>(time(nullptr));
  TrayIcon tray;
  MainWindow mainWindow(tray, environment);
  environment.window = &mainWindow;  // the page's window commands act on it
  const std::wstring address = UiAddressFromCommandLine(GetCommandLineW(), kDefaultUiAddress);
  if (!mainWindow.Create(nullptr, WindowKind::Layered, kMainWindowClassName, kProgramTitle, kWindowX, kWindowY,
                         kWindowWidth, kWindowHeight, address.c_str()) &&
      !mainWindow.HasWindow()) {
    // No window at all: nothing could ever end the loop below.
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
  }
  // A window whose browser failed has no handle here; the close posted to it
  // ends the process from the loop.
  if (HWND window = mainWindow.GetHwnd()) PresentMainWindow(window, instance, tray);
  RunMessageLoop();
  return 0;
}
