#pragma once
// The names by which a running Tarnwick is found (by a second start and by
// tests), and the program's resource ids.

#include <windows.h>

// Held by the running instance for its whole life.
inline constexpr wchar_t kSingleInstanceMutexName[] =
    L"Global\\__!!!{Brasko-27C972E5-606E-A990-3109-EB7C881BB8BE}!!!__";
// The main window's class; a second start looks the running window up by it.
inline constexpr wchar_t kMainWindowClassName[] = L"{Brasko-27C972E5-606E-A990-3109-EB7C881BB8BE}";
// Window title and tray tip.
inline constexpr wchar_t kProgramTitle[] = L"Tarnwick";

// The application icon group (16 to 256 pixels, 32-bit) in tarnwick.rc.
inline constexpr int kApplicationIconId = 100;

// The tray icon's callback message, also the hand-off from a second start
// (lParam WM_LBUTTONDOWN: restore and raise the window).
inline constexpr UINT WM_TRAY_NOTIFY = 0x22D6;
