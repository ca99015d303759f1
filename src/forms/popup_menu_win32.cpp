#include "forms/popup_menu_win32.h"

#include <string>
#include <vector>

namespace vantor {

HMENU BuildPopupMenu(std::span<const MenuItemDef> items, const CaptionSet& captions) {
    HMENU menu = CreatePopupMenu();
    for (const auto& item : items) {
        if (item.caption == Caption::kNone) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        AppendMenuA(menu, MF_STRING, item.command, captions[item.caption].c_str());
        if (item.isDefault) SetMenuDefaultItem(menu, item.command, FALSE);
    }
    return menu;
}

void RetextMenu(HMENU menu, std::span<const MenuItemDef> items, const CaptionSet& captions) {
    for (const auto& item : items) {
        if (item.caption == Caption::kNone) continue;
        // Only the string: ModifyMenu would also reset the check mark of Disable.
        std::string text = captions[item.caption];
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = text.data();
        SetMenuItemInfoA(menu, item.command, FALSE, &info);
    }
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
