// Popup menus and the accelerator table built from the menu data.
#pragma once

#include <windows.h>

#include <span>

#include "ui/menus.h"

namespace vantor {

HMENU BuildPopupMenu(std::span<const MenuItemDef> items);
HACCEL BuildAccelerators(std::span<const AcceleratorDef> accelerators);
bool IsMenuItemChecked(HMENU menu, UINT command);
void SetMenuItemChecked(HMENU menu, UINT command, bool checked);
// Shows the menu at a screen point; the command arrives as WM_COMMAND at `owner`.
void TrackMenu(HMENU menu, HWND owner, POINT at);

}  // namespace vantor
