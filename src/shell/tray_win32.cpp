#include "shell/tray_win32.h"

#include "forms/popup_menu_win32.h"
#include "ui/menus.h"

namespace vantor {

void Tray::LoadIcons(HINSTANCE instance) {
    mainIcon_ = LoadTrayIcon(instance, "ZFMMAIN_TRAYMAIN");
    enabledIcon_ = LoadTrayIcon(instance, "ZFMMAIN_TRAYENABLED");
    disabledIcon_ = LoadTrayIcon(instance, "ZFMMAIN_TRAYDISABLED");
}

void Tray::Add(HWND callbackWindow, UINT callbackMessage, const CaptionSet& captions) {
    icon_.Add(callbackWindow, callbackMessage, mainIcon_, "Vantor");
    menu_ = BuildPopupMenu(TrayMenuItems(), captions);
}

void Tray::SetDisabled(bool disabled) {
    SetMenuItemChecked(menu_, kCmdDisable, disabled);
    icon_.SetIcon(disabled ? disabledIcon_ : enabledIcon_);
}

bool Tray::Disabled() const {
    return IsMenuItemChecked(menu_, kCmdDisable);
}

void Tray::OpenMenu(HWND owner) {
    SetForegroundWindow(owner);
    POINT at;
    GetCursorPos(&at);
    TrackMenu(menu_, owner, at);
    // So that the menu closes when the user clicks elsewhere.
    PostMessageA(owner, WM_NULL, 0, 0);
}

void Tray::ApplyCaptions(const CaptionSet& captions) {
    RetextMenu(menu_, TrayMenuItems(), captions);
}

}  // namespace vantor
