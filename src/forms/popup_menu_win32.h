// Popup menus and the accelerator table built from the menu data and the captions.
#pragma once

#include <windows.h>

#include <span>

#include "lang/commands.h"

namespace vantor {

HMENU BuildPopupMenu(std::span<const MenuItemDef> items, const CaptionSet& captions);
// New texts for the items, by command; check marks and the default item stay.
void RetextMenu(HMENU menu, std::span<const MenuItemDef> items, const CaptionSet& captions);
HACCEL BuildAccelerators(std::span<const AcceleratorDef> accelerators);
bool IsMenuItemChecked(HMENU menu, UINT command);
void SetMenuItemChecked(HMENU menu, UINT command, bool checked);
// Shows the menu at a screen point; the command arrives as WM_COMMAND at `owner`.
void TrackMenu(HMENU menu, HWND owner, POINT at);

}  // namespace vantor
