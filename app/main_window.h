#pragma once
// The program's one window: a layered WebWindow showing the web UI. Besides
// the page it handles what a frame would: moving by dragging, restoring from
// the tray icon, exiting from the tray menu, and ending the process when the
// window is destroyed. The page's requests go to the command dispatcher.

#include <windows.h>

#include "browser/web_window.h"
#include "commands/script_call.h"
#include "commands/window_control.h"

class TrayIcon;

class MainWindow : public WebWindow, public WindowControl {
 public:
  // Both outlive the window (they live in the entry function).
  MainWindow(TrayIcon& tray, CommandEnvironment& environment) : tray_(tray), environment_(environment) {}

  // While set (the page's "move_begin" until "move_end"), the window follows
  // mouse moves made with the left button down.
  bool dragging() const { return dragging_; }

  // WindowControl: what the page's window commands do to this window.
  void Place(int x, int y, int width, int height) override;
  void Show(bool show) override;
  void PostMinimize() override;
  void SetDragging(bool dragging) override { dragging_ = dragging; }
  [[noreturn]] void EndProgram() override { EndProcess(); }

  // Runs a "js_api_cross_call" request and sends its reply to the page's
  // callback (none for callback id 0). Other messages are ignored. Always true.
  bool OnScriptCall(CefRefPtr<CefProcessMessage> message) override;

  // Reacts to WM_DESTROY, the left button (dragging) and the tray icon's
  // notifications, and leaves every message to the window procedure as well.
  LRESULT OnWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) override;

 private:
  void OnTrayNotify(HWND hwnd, LPARAM mouseMessage);
  // Removes the tray icon and ends the process at once, with exit code 0.
  [[noreturn]] void EndProcess();

  TrayIcon& tray_;
  CommandEnvironment& environment_;
  bool dragging_ = false;
  // At the last left-button press on the window (zero before the first).
  POINT cursorAtPress_{};
  RECT windowAtPress_{};
};
