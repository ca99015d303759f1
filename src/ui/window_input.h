// How the message window and the tray icon answer keys and mouse buttons, as plain data so
// that the window code only carries the decision out.
#pragma once

#include "ui/menus.h"

namespace vantor {

// Control ids of the message window (fmMain).
enum ButtonId : int { kBtCopy = 1001, kBtClose = 1002, kBtExit = 1003, kTextArea = 1004 };

// The program command a click on one of the message window's buttons runs (kCmdNone for
// other ids).
MenuCommand ButtonCommand(int controlId);

enum class KeyTarget { kWindow, kText, kCopyButton, kCloseButton, kExitButton };

enum class KeyAction {
    kNone,             // let the control have the key
    kHide,             // consumed; the window hides
    kCopy,             // consumed; copy the text
    kExit,             // consumed; the program ends (kCmdExit)
    kPreviousMessage,  // Alt+Left (kCmdPrevious)
};

// Key-down of virtual key `key` on `target`; `altDown` as GetKeyState(VK_MENU) < 0 says.
KeyAction MessageWindowKey(int key, bool altDown, KeyTarget target);

// The "Close on" choice of the settings (0 only auto, 1 click, 2 double click, 3 right click).
enum class TextMouse { kLeftDown, kLeftUp, kRightDown, kDoubleClick };
bool HidesOnMouse(int closeOn, TextMouse event);

// The command a mouse message of the tray icon runs (its callback carries the message in
// lParam): left button down toggles the window, right button down opens the tray menu.
MenuCommand TrayCommand(unsigned mouseMessage);

}  // namespace vantor
