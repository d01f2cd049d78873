#pragma once

#include <windows.h>

// Makes the window the foreground window and activates it, also when another
// process's window is in front (the input of the two threads is joined for
// the switch).
void BringToForeground(HWND window);
