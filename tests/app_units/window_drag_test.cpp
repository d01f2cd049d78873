#include "app/window_drag.h"

#include <gtest/gtest.h>

namespace {

struct DragCase {
  POINT pressCursor;
  RECT pressWindow;
  POINT cursor;
  WPARAM keys;
  bool moves;
  POINT position;  // when it moves
};

const DragCase kCases[] = {
    {{250, 230}, {200, 200, 1600, 920}, {300, 250}, MK_LBUTTON, true, {250, 220}},        // follows the cursor
    {{250, 230}, {200, 200, 1600, 920}, {100, 100}, MK_LBUTTON, true, {50, 70}},          // also up and left
    {{250, 230}, {200, 200, 1600, 920}, {300, 250}, MK_LBUTTON | MK_CONTROL, false, {}},  // Ctrl held (9): stays
    {{250, 230}, {200, 200, 1600, 920}, {300, 250}, MK_LBUTTON | MK_SHIFT, false, {}},    // Shift held: stays
    {{250, 230}, {200, 200, 1600, 920}, {300, 250}, MK_LBUTTON | MK_RBUTTON, false, {}},  // another button: stays
    {{250, 230}, {200, 200, 1600, 920}, {300, 250}, 0, false, {}},                        // no button: stays
    {{0, 0}, {0, 0, 0, 0}, {640, 480}, MK_LBUTTON, true, {640, 480}},                     // no press yet: to the cursor
};

TEST(WindowDrag, MovesOnlyWithTheLeftButtonAlone) {
  for (const DragCase& c : kCases) {
    const auto position = DraggedWindowPosition(c.pressCursor, c.pressWindow, c.cursor, c.keys);
    ASSERT_EQ(position.has_value(), c.moves) << "keys " << c.keys;
    if (c.moves) {
      EXPECT_EQ(position->x, c.position.x);
      EXPECT_EQ(position->y, c.position.y);
    }
  }
}

}  // namespace
