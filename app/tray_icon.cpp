#include "app/tray_icon.h"

#include <cwchar>

#include "app/program_identity.h"

static_assert(sizeof(NOTIFYICONDATAW) == 976, "the tray record is the full Vista-and-later layout");

namespace {

// "退出": exit.
constexpr wchar_t kExitText[] = L"\u9000\u51FA";

}  // namespace

TrayIcon::TrayIcon() : menu_(CreatePopupMenu()) {
  if (menu_) AppendMenuW(menu_, MF_STRING, kExitCommand, kExitText);
}

TrayIcon::~TrayIcon() {
  Remove();
  if (menu_) DestroyMenu(menu_);
}

bool TrayIcon::Add(HWND window, HICON icon, const wchar_t* tip) {
  record_ = NOTIFYICONDATAW{};
  record_.cbSize = sizeof(record_);
  record_.hWnd = window;
  record_.uID = kTrayIconId;
  // NIF_INFO with an empty text: no balloon is ever shown.
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  record_.uCallbackMessage = WM_TRAY_NOTIFY;
  record_.hIcon = icon;
  wcsncpy(record_.szTip, tip, 127);
  added_ = Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
  return added_;
}

void TrayIcon::Remove() {
  if (!added_) return;
  Shell_NotifyIconW(NIM_DELETE, &record_);
  added_ = false;
}

UINT TrayIcon::RunMenu(HWND owner, POINT at) const {
  if (!menu_) return 0;
  // A tray menu closes on a click elsewhere only when its owner is the
  // foreground window.
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu_, TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  return chosen;
}
