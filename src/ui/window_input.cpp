#include "ui/window_input.h"

namespace vantor {

namespace {
constexpr int kVkReturn = 13;
constexpr int kVkEscape = 27;
constexpr int kVkLeft = 37;
constexpr unsigned kWmLButtonDown = 0x0201;
constexpr unsigned kWmRButtonDown = 0x0204;
}  // namespace

MenuCommand ButtonCommand(int controlId) {
    switch (controlId) {
        case kBtCopy:
            return kCmdCopy;
        case kBtClose:
            return kCmdCloseButton;
        case kBtExit:
            return kCmdExit;
        default:
            return kCmdNone;
    }
}

KeyAction MessageWindowKey(int key, bool altDown, KeyTarget target) {
    switch (key) {
        case kVkEscape:
            return KeyAction::kHide;
        case kVkReturn:
            if (target == KeyTarget::kCopyButton) return KeyAction::kCopy;
            if (target == KeyTarget::kExitButton) return KeyAction::kExit;
            return KeyAction::kHide;
        case kVkLeft:
            return altDown ? KeyAction::kPreviousMessage : KeyAction::kNone;
        default:
            return KeyAction::kNone;
    }
}

bool HidesOnMouse(int closeOn, TextMouse event) {
    switch (closeOn) {
        case 1:
            return event == TextMouse::kLeftDown;
        case 2:
            return event == TextMouse::kDoubleClick;
        case 3:
            return event == TextMouse::kRightDown;
        default:
            return false;
    }
}

MenuCommand TrayCommand(unsigned mouseMessage) {
    if (mouseMessage == kWmLButtonDown) return kCmdToggleWindow;
    if (mouseMessage == kWmRButtonDown) return kCmdOpenTrayMenu;
    return kCmdNone;
}

}  // namespace vantor
