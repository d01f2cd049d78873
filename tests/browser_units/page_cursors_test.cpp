// The page's cursor types map to the system's cursors.

#include <gtest/gtest.h>

#include "browser/page_cursors.h"

namespace {

struct CursorCase {
  cef_cursor_type_t type;
  LPCSTR system;  // IDC_*; null for no cursor
};

const CursorCase kCursorCases[] = {
    {CT_POINTER, IDC_ARROW},
    {CT_HAND, IDC_HAND},            // links
    {CT_IBEAM, IDC_IBEAM},          // text fields
    {CT_VERTICALTEXT, IDC_IBEAM},
    {CT_WAIT, IDC_WAIT},
    {CT_PROGRESS, IDC_APPSTARTING},
    {CT_CROSS, IDC_CROSS},
    {CT_HELP, IDC_HELP},
    {CT_EASTWESTRESIZE, IDC_SIZEWE},
    {CT_COLUMNRESIZE, IDC_SIZEWE},
    {CT_NORTHSOUTHRESIZE, IDC_SIZENS},
    {CT_NORTHEASTRESIZE, IDC_SIZENESW},
    {CT_NORTHWESTSOUTHEASTRESIZE, IDC_SIZENWSE},
    {CT_MOVE, IDC_SIZEALL},
    {CT_NOTALLOWED, IDC_NO},
    {CT_NODROP, IDC_NO},
    {CT_CUSTOM, IDC_ARROW},         // custom images are not drawn
    {CT_NONE, nullptr},             // cursor: none hides the pointer
    {static_cast<cef_cursor_type_t>(CT_CUSTOM + 1), IDC_ARROW},  // a type this build does not know
};

TEST(CursorForTypeTest, PageCursorTypesMapToSystemCursors) {
  for (const CursorCase& c : kCursorCases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    const HCURSOR expected = c.system ? LoadCursorA(nullptr, c.system) : nullptr;
    if (c.system) {
      ASSERT_NE(expected, nullptr);
    }
    EXPECT_EQ(CursorForType(c.type), expected);
  }
}

}  // namespace
