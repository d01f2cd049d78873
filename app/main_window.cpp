#include "app/main_window.h"

#include "app/foreground.h"
#include "app/program_identity.h"
#include "app/tray_icon.h"
#include "app/window_drag.h"
#include "browser/page_call.h"
#include "commands/dispatcher.h"

bool MainWindow::OnScriptCall(CefRefPtr<CefProcessMessage> message) {
  const std::optional<PageCall> call = message ? ReadPageCall(*message) : std::nullopt;
  if (!call) return true;
  const std::optional<std::string> reply =
      RunScriptCall(call->callbackId, call->request ? &*call->request : nullptr, environment_);
  if (reply) SendScriptReply(call->callbackId, ReplyTextToUtf16(*reply).c_str());
  return true;
}

LRESULT MainWindow::OnWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = false;
  switch (msg) {
    case WM_DESTROY:
      EndProcess();
    case WM_LBUTTONDOWN:
      // Every press, dragging or not: the page may start a drag from it.
      GetCursorPos(&cursorAtPress_);
      GetWindowRect(hwnd, &windowAtPress_);
      break;
    case WM_MOUSEMOVE:
      if (dragging_) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (const auto position = DraggedWindowPosition(cursorAtPress_, windowAtPress_, cursor, wParam))
          SetWindowPos(hwnd, nullptr, position->x, position->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      }
      break;
    case WM_TRAY_NOTIFY:
      OnTrayNotify(hwnd, lParam);
      break;
    default:
      break;
  }
  return 0;
}

void MainWindow::OnTrayNotify(HWND hwnd, LPARAM mouseMessage) {
  if (mouseMessage == WM_RBUTTONDOWN) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (tray_.RunMenu(hwnd, cursor) == kExitCommand) EndProcess();
  } else if (mouseMessage == WM_LBUTTONDOWN) {
    if (IsIconic(hwnd)) PostMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    BringToForeground(hwnd);
    ShowWindow(hwnd, SW_SHOW);
  }
}

void MainWindow::Place(int x, int y, int width, int height) {
  SetWindowPos(GetHwnd(), nullptr, x, y, width, height, SWP_NOZORDER);
}

void MainWindow::Show(bool show) {
  WebWindow::Show(show);
  if (show) BringToForeground(GetHwnd());
}

void MainWindow::PostMinimize() {
  // Posted, not sent: the page's reply goes out before the window minimises.
  PostMessageW(GetHwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void MainWindow::EndProcess() {
  tray_.Remove();
  TerminateProcess(GetCurrentProcess(), 0);
  // TerminateProcess on the own process does not return; this keeps the promise if it ever did.
  ExitProcess(0);
}
