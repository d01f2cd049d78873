#pragma once
// Moving the borderless window by dragging: while the page says a drag is on,
// the window follows the cursor from where both were at the last left-button
// press.

#include <windows.h>

#include <optional>

// Where the window goes for a mouse move, or nothing when it stays: it moves
// only while the left button alone is down (mouseKeys exactly MK_LBUTTON, so
// holding Ctrl or Shift or another button pauses the drag).
std::optional<POINT> DraggedWindowPosition(POINT cursorAtPress, const RECT& windowAtPress, POINT cursor,
                                           WPARAM mouseKeys);
