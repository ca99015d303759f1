// The tray: the notification-area icon (the main icon at start, then enabled or disabled),
// its tip, its menu and the Disable state the menu's check mark holds. The application
// decides what Disable does to the watcher; the tray only shows it. GUI thread.
#pragma once

#include <windows.h>

#include <string>

#include "forms/tray_icon_win32.h"
#include "lang/text_table.h"

namespace vantor {

class Tray {
  public:
    // The three icons at the size the notification area asks for.
    void LoadIcons(HINSTANCE instance);
    // The main icon in the notification area, its clicks to callbackWindow; the menu texted
    // from the captions.
    void Add(HWND callbackWindow, UINT callbackMessage, const CaptionSet& captions);
    void SetTip(const std::string& tip) { icon_.SetTip(tip); }
    // The check mark of Disable and the icon that goes with it.
    void SetDisabled(bool disabled);
    bool Disabled() const;
    // The menu at the pointer, owned by owner (which comes to the foreground for it).
    void OpenMenu(HWND owner);
    void ApplyCaptions(const CaptionSet& captions);
    void Remove() { icon_.Remove(); }
    // For the callback window, which re-adds the icon when the taskbar is re-created.
    TrayIcon* Icon() { return &icon_; }

  private:
    TrayIcon icon_;
    HMENU menu_ = nullptr;
    HICON mainIcon_ = nullptr, enabledIcon_ = nullptr, disabledIcon_ = nullptr;
};

}  // namespace vantor
