#pragma once
// The page's zoom for the screen's DPI. The engine gets the scale factor
// itself as the zoom level (1.25 at 120 DPI, 2.0 at 192 DPI); 96 DPI, where
// the factor is exactly 1, becomes level 0.0, the engine's default.

#include <windows.h>

// From a DPI value as GetDpiForWindow and WM_DPICHANGED give it; the factor
// is computed in single precision. 0 (no window) gives 0.0 too.
double ZoomLevelForDpi(UINT dpi);

// From the screen's logical pixels per inch (GetDeviceCaps LOGPIXELSX), for
// systems without GetDpiForWindow; computed in double precision.
double ZoomLevelForLogicalPixels(int logicalPixels);

// The zoom level for the DPI of the window (or of the screen when the
// system cannot tell a window's DPI).
double ZoomLevelForWindow(HWND window);
