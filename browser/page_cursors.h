#pragma once
// The system cursor shown for a cursor type the page asks for.

#include <windows.h>

#include "engine/include/cef_client.h"

// A shared system cursor (never destroyed). CT_NONE gives null, which hides
// the pointer; types without a system cursor of their own (custom images,
// zoom, copy, alias) get the arrow.
HCURSOR CursorForType(cef_cursor_type_t type);
