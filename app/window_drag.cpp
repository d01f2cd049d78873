#include "app/window_drag.h"

std::optional<POINT> DraggedWindowPosition(POINT cursorAtPress, const RECT& windowAtPress, POINT cursor,
                                           WPARAM mouseKeys) {
  if (mouseKeys != MK_LBUTTON) return std::nullopt;
  return POINT{windowAtPress.left + (cursor.x - cursorAtPress.x), windowAtPress.top + (cursor.y - cursorAtPress.y)};
}
