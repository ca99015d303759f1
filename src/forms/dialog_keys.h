// How a form answers the keys that move the focus and press its buttons, decided from the
// key, Shift and the focused control's WM_GETDLGCODE answer, so that the window code only
// carries the decision out. Portable: the codes below are the system's values.
#pragma once

#include <span>

namespace vantor {

// WM_GETDLGCODE answers.
inline constexpr unsigned kDlgcWantArrows = 0x0001;
inline constexpr unsigned kDlgcWantTab = 0x0002;
inline constexpr unsigned kDlgcWantAllKeys = 0x0004;  // also DLGC_WANTMESSAGE
inline constexpr unsigned kDlgcDefPushButton = 0x0010;
inline constexpr unsigned kDlgcUndefPushButton = 0x0020;

enum class DialogKeyAction {
    kNone,          // the control has the key
    kNext,          // focus to the next control that can take it
    kPrevious,      // focus to the previous one
    kPressFocused,  // click the focused push button
    kPressDefault,  // click the form's default button
    kPressCancel,   // click the form's cancel button
    kHelp,          // help on the focused control (WM_HELP)
};

// A key-down (virtual key) on a control of a form:
//   Tab, Shift+Tab          next / previous, unless the control wants Tab;
//   arrows, Page Up/Down    Left, Up, Page Up previous; Right, Down, Page Down next; unless
//                           the control wants arrows (a combo box, a text area) or all keys;
//   Enter                   the focused push button, else the default button; Esc the cancel
//                           button; both unless the control wants all keys (a dropped list);
//   F1                      help.
DialogKeyAction PlanDialogKey(int key, bool shift, unsigned dlgCode);

// The control the focus moves to: `canFocus` lists the form's controls in creation order,
// `current` is the focused one's index (-1 when the focus is on none of them). Wraps around
// at the ends; -1 when no control can take the focus.
int NextFocusIndex(std::span<const bool> canFocus, int current, bool backward);

}  // namespace vantor
