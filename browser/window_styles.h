#pragma once
// The window styles of each kind of WebWindow.

#include <windows.h>

enum class WindowKind;

struct WindowStyles {
  DWORD style = 0;
  DWORD extendedStyle = 0;
};

WindowStyles StylesForKind(WindowKind kind);
