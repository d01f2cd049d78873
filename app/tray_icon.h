#pragma once
// The notification-area icon of the main window and its menu with the one
// item "退出" (exit). The icon stays until Remove, which every exit path
// calls before the process ends; the object removes it too when it goes.

#include <windows.h>
#include <shellapi.h>

inline constexpr UINT kTrayIconId = 100;
inline constexpr UINT kExitCommand = 9999;

class TrayIcon {
 public:
  // Makes the menu; the icon is added by Add.
  TrayIcon();
  ~TrayIcon();

  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Adds the icon for the window: clicks arrive as WM_TRAY_NOTIFY with the
  // mouse message in lParam. The tip is cut to 127 characters.
  bool Add(HWND window, HICON icon, const wchar_t* tip);
  void Remove();

  // Opens the menu at the screen point and waits for the choice; returns the
  // chosen command id, 0 when the menu was dismissed.
  UINT RunMenu(HWND owner, POINT at) const;

 private:
  NOTIFYICONDATAW record_{};
  HMENU menu_ = nullptr;
  bool added_ = false;
};
