// The two menus of the message window (tray menu and text menu) with their items and shortcut
// keys; the command ids are in lang/commands.h.
#pragma once

#include <span>

#include "lang/commands.h"

namespace vantor {

std::span<const MenuItemDef> TrayMenuItems();
std::span<const MenuItemDef> TextMenuItems();
std::span<const AcceleratorDef> MenuAccelerators();

}  // namespace vantor
