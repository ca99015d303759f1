// The notification-area icon. It re-adds itself when the taskbar is re-created (the
// registered "TaskbarCreated" message reaches the callback window).
#pragma once

#include <windows.h>

#include <string>

namespace vantor {

class TrayIcon {
  public:
    void Add(HWND callbackWindow, UINT callbackMessage, HICON icon, const std::string& tip);
    void SetIcon(HICON icon);
    void SetTip(const std::string& tip);
    void Remove();
    // True when the message was "TaskbarCreated" (the icon has been added again).
    bool HandleTaskbarCreated(UINT message);
    HICON Icon() const { return icon_; }

  private:
    void Notify(DWORD action);

    HWND window_ = nullptr;
    UINT callback_ = 0;
    HICON icon_ = nullptr;
    std::string tip_;
    bool added_ = false;
    UINT taskbarCreated_ = 0;
};

// An icon resource at the size the notification area asks for (small icon at the system's
// scale: 16 pixels at 100 %, 24 at 150 %), so the shell does not stretch a larger one.
HICON LoadTrayIcon(HINSTANCE instance, const char* name);

}  // namespace vantor
