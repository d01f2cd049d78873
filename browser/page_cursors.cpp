#include "browser/page_cursors.h"

namespace {

// The IDC_* names are ANSI-typed without UNICODE; they are plain resource
// numbers, the same for LoadCursorW.
LPCWSTR SystemCursorName(LPCSTR idc) { return MAKEINTRESOURCEW(LOWORD(reinterpret_cast<ULONG_PTR>(idc))); }

LPCSTR SystemCursorFor(cef_cursor_type_t type) {
  switch (type) {
    case CT_CROSS: case CT_CELL: return IDC_CROSS;
    case CT_HAND: case CT_GRAB: case CT_GRABBING: return IDC_HAND;
    case CT_IBEAM: case CT_VERTICALTEXT: return IDC_IBEAM;
    case CT_WAIT: return IDC_WAIT;
    case CT_PROGRESS: return IDC_APPSTARTING;
    case CT_HELP: return IDC_HELP;
    case CT_EASTRESIZE: case CT_WESTRESIZE: case CT_EASTWESTRESIZE: case CT_COLUMNRESIZE: return IDC_SIZEWE;
    case CT_NORTHRESIZE: case CT_SOUTHRESIZE: case CT_NORTHSOUTHRESIZE: case CT_ROWRESIZE: return IDC_SIZENS;
    case CT_NORTHEASTRESIZE: case CT_SOUTHWESTRESIZE: case CT_NORTHEASTSOUTHWESTRESIZE: return IDC_SIZENESW;
    case CT_NORTHWESTRESIZE: case CT_SOUTHEASTRESIZE: case CT_NORTHWESTSOUTHEASTRESIZE: return IDC_SIZENWSE;
    case CT_MOVE: case CT_MIDDLEPANNING: case CT_MIDDLE_PANNING_VERTICAL: case CT_MIDDLE_PANNING_HORIZONTAL:
    case CT_EASTPANNING: case CT_NORTHPANNING: case CT_NORTHEASTPANNING: case CT_NORTHWESTPANNING:
    case CT_SOUTHPANNING: case CT_SOUTHEASTPANNING: case CT_SOUTHWESTPANNING: case CT_WESTPANNING:
      return IDC_SIZEALL;
    case CT_NODROP: case CT_NOTALLOWED: return IDC_NO;
    default: return IDC_ARROW;
  }
}

}  // namespace

HCURSOR CursorForType(cef_cursor_type_t type) {
  if (type == CT_NONE) return nullptr;
  return LoadCursorW(nullptr, SystemCursorName(SystemCursorFor(type)));
}
