// The program's commands, the one list of their ids, and the shape of a menu item and of a
// shortcut key (ui/menus.h holds the two menus themselves). Every command, whichever way
// it comes (menu item, accelerator, tray icon, a button of the message window), is run by the
// application's dispatcher. Menus and accelerators send their ids as WM_COMMAND to the
// message window (fmMain); tests and scripts drive the program by posting WM_COMMAND with them:
//   0x101 pmMessage      Last message          0x201 mmPrev   Previous message (Alt+Left)
//   0x102 pmPrevMessage  Previous message      0x202 mmNext   Next message (Alt+Right)
//   0x103 pmSpy          Spy                   0x203 mmCopy   Copy (Ctrl+C)
//   0x104 pmDisable      Disable               0x204 mmWhite  Add to white list
//   0x105 pmSetup        Settings...           0x205 mmBlack  Add to black list
//   0x106 pmAbout        About                 0x206 mmMain   Advanced list
//   0x107 pmTopic        Help topic (F1)
//   0x108 pmClose        Exit
//   0x301 the tray icon's left button: show the newest message, or hide the window
//   0x302 the tray icon's right button: open the tray menu at the cursor
//   0x303 the message window's Close button: stop the spy and hide the window
// The tray icon calls back the application window with message kTrayCallbackMessage and the
// mouse message in lParam (WM_LBUTTONDOWN toggles the window, WM_RBUTTONDOWN opens the menu).
#pragma once

#include "lang/text_table.h"

namespace vantor {

inline constexpr unsigned kTrayCallbackMessage = 0xB008;

enum MenuCommand : unsigned short {
    kCmdNone = 0,
    kCmdLastMessage = 0x101,
    kCmdTrayPrevious = 0x102,
    kCmdSpy = 0x103,
    kCmdDisable = 0x104,
    kCmdSettings = 0x105,
    kCmdAbout = 0x106,
    kCmdHelpTopic = 0x107,
    kCmdExit = 0x108,
    kCmdPrevious = 0x201,
    kCmdNext = 0x202,
    kCmdCopy = 0x203,
    kCmdAddWhite = 0x204,
    kCmdAddBlack = 0x205,
    kCmdAdvancedList = 0x206,
    kCmdToggleWindow = 0x301,
    kCmdOpenTrayMenu = 0x302,
    kCmdCloseButton = 0x303,
};

struct MenuItemDef {
    Caption caption;      // its text and language key; Caption::kNone for a separator
    MenuCommand command;  // kCmdNone for separators
    bool isDefault;       // drawn bold
};

struct AcceleratorDef {
    unsigned char virtFlags;  // ACCEL.fVirt
    unsigned short key;       // virtual key
    MenuCommand command;
};

}  // namespace vantor
