#include "forms/tray_icon_win32.h"

#include <shellapi.h>

#include <cstring>

#include "forms/dpi_win32.h"

namespace vantor {

HICON LoadTrayIcon(HINSTANCE instance, const char* name) {
    const int dpi = SystemDpi();
    return static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON,
                                         MetricForDpi(SM_CXSMICON, dpi),
                                         MetricForDpi(SM_CYSMICON, dpi), LR_DEFAULTCOLOR));
}

void TrayIcon::Add(HWND callbackWindow, UINT callbackMessage, HICON icon, const std::string& tip) {
    window_ = callbackWindow;
    callback_ = callbackMessage;
    icon_ = icon;
    tip_ = tip;
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    Notify(NIM_ADD);
    added_ = true;
}

void TrayIcon::SetIcon(HICON icon) {
    icon_ = icon;
    if (added_) Notify(NIM_MODIFY);
}

void TrayIcon::SetTip(const std::string& tip) {
    tip_ = tip;
    if (added_) Notify(NIM_MODIFY);
}

void TrayIcon::Remove() {
    if (added_) Notify(NIM_DELETE);
    added_ = false;
}

bool TrayIcon::HandleTaskbarCreated(UINT message) {
    if (taskbarCreated_ == 0 || message != taskbarCreated_) return false;
    if (added_) Notify(NIM_ADD);
    return true;
}

void TrayIcon::Notify(DWORD action) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window_;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callback_;
    data.hIcon = icon_;
    // The tooltip holds at most 63 characters.
    std::strncpy(data.szTip, tip_.c_str(), 63);
    Shell_NotifyIconA(action, &data);
}

}  // namespace vantor
