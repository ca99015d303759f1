// How the message window and the tray icon answer keys and mouse buttons, as plain data so
// that the window code only carries the decision out.
#pragma once

namespace vantor {

enum class KeyTarget { kWindow, kText, kCopyButton, kCloseButton, kExitButton };

enum class KeyAction {
    kNone,             // let the control have the key
    kHide,             // consumed; the window hides
    kCopy,             // consumed; copy the text
    kExit,             // consumed; the program ends
    kPreviousMessage,  // Alt+Left
};

// Key-down of virtual key `key` on `target`; `altDown` as GetKeyState(VK_MENU) < 0 says.
KeyAction MessageWindowKey(int key, bool altDown, KeyTarget target);

// The "Close on" choice of the settings (0 only auto, 1 click, 2 double click, 3 right click).
enum class TextMouse { kLeftDown, kLeftUp, kRightDown, kDoubleClick };
bool HidesOnMouse(int closeOn, TextMouse event);

// The tray icon's callback carries the mouse message in lParam.
enum class TrayAction { kNone, kToggleWindow, kOpenMenu };
TrayAction TrayMouse(unsigned mouseMessage);

}  // namespace vantor
