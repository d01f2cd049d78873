#include "browser/context_menu_policy.h"

#include <gtest/gtest.h>

#include "engine/include/cef_client.h"

namespace {

struct MenuCase {
  int flags;
  size_t items;
  bool cleared;
};

const MenuCase kCases[] = {
    {CM_TYPEFLAG_PAGE, 3, true},                                           // ordinary page content: no menu
    {CM_TYPEFLAG_FRAME, 3, true},                                          // inside a sub-frame: no menu
    {CM_TYPEFLAG_PAGE | CM_TYPEFLAG_SELECTION, 2, true},                   // selected text on the page
    {CM_TYPEFLAG_EDITABLE, 7, false},                                      // a text field keeps its editing menu
    {CM_TYPEFLAG_PAGE | CM_TYPEFLAG_FRAME | CM_TYPEFLAG_EDITABLE, 7, false},  // editable wins
    {CM_TYPEFLAG_PAGE, 0, false},                                          // nothing to clear
    {CM_TYPEFLAG_LINK, 2, false},                                          // neither page nor frame
};

TEST(ContextMenuPolicy, ClearsMenusOutsideEditableFields) {
  for (const MenuCase& c : kCases)
    EXPECT_EQ(ShouldClearContextMenu(c.flags, c.items), c.cleared) << c.flags << " " << c.items;
}

}  // namespace
