#pragma once
// Which context menus the page gets: the engine's editing menu in editable
// fields, none on ordinary page content.

#include <cstddef>

// typeFlags: the menu's CM_TYPEFLAG_* bits. True when the menu's items are to
// be removed (an empty menu is not shown).
bool ShouldClearContextMenu(int typeFlags, size_t itemCount);
