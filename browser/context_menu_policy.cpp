#include "browser/context_menu_policy.h"

#include "engine/include/cef_client.h"

bool ShouldClearContextMenu(int typeFlags, size_t itemCount) {
  if (typeFlags & CM_TYPEFLAG_EDITABLE) return false;
  return (typeFlags & (CM_TYPEFLAG_PAGE | CM_TYPEFLAG_FRAME)) != 0 && itemCount > 0;
}
