#include "forms/popup_menu_win32.h"

#include <vector>

namespace vantor {

HMENU BuildPopupMenu(std::span<const MenuItemDef> items) {
    HMENU menu = CreatePopupMenu();
    for (const auto& item : items) {
        if (item.command == kCmdNone) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuA(menu, MF_STRING, item.command, item.caption);
        if (item.isDefault) SetMenuDefaultItem(menu, item.command, FALSE);
    }
    return menu;
}

HACCEL BuildAccelerators(std::span<const AcceleratorDef> accelerators) {
    std::vector<ACCEL> table;
    for (const auto& a : accelerators) {
        table.push_back(ACCEL{static_cast<BYTE>(a.virtFlags), a.key, static_cast<WORD>(a.command)});
    }
    return CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

bool IsMenuItemChecked(HMENU menu, UINT command) {
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void SetMenuItemChecked(HMENU menu, UINT command, bool checked) {
    CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void TrackMenu(HMENU menu, HWND owner, POINT at) {
    TrackPopupMenu(menu, 0, at.x, at.y, 0, owner, nullptr);
}

}  // namespace vantor
