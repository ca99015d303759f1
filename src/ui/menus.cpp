#include "ui/menus.h"

namespace vantor {

namespace {

constexpr MenuItemDef kTray[] = {
    {"pmMessage", "Last message", kCmdLastMessage, true},
    {"pmPrevMessage", "Previous message\tAlt+Left", kCmdTrayPrevious, false},
    {"pmSpy", "Spy", kCmdSpy, false},
    {"pmDisable", "Disable", kCmdDisable, false},
    {"N1", "-", kCmdNone, false},
    {"pmSetup", "Settings...", kCmdSettings, false},
    {"pmAbout", "About", kCmdAbout, false},
    {"pmTopic", "Help topic\tF1", kCmdHelpTopic, false},
    {"N2", "-", kCmdNone, false},
    {"pmClose", "Exit", kCmdExit, false},
};

constexpr MenuItemDef kText[] = {
    {"mmPrev", "Previous message\tAlt+Left", kCmdPrevious, false},
    {"mmNext", "Next message\tAlt+Right", kCmdNext, false},
    {"mmCopy", "Copy\tCtrl+C", kCmdCopy, false},
    {"mmWhite", "Add to white list", kCmdAddWhite, false},
    {"mmBlack", "Add to black list", kCmdAddBlack, false},
    {"mmMain", "Advanced list", kCmdAdvancedList, false},
};

constexpr unsigned char kVirtKey = 0x01, kControl = 0x08, kAlt = 0x10;

// Alt+Left is carried by both Previous items; one entry is enough, they run one command.
constexpr AcceleratorDef kAccelerators[] = {
    {kVirtKey | kAlt, 37, kCmdPrevious},
    {kVirtKey | kAlt, 39, kCmdNext},
    {kVirtKey | kControl, 'C', kCmdCopy},
    {kVirtKey, 112, kCmdHelpTopic},
};

}  // namespace

std::span<const MenuItemDef> TrayMenuItems() {
    return kTray;
}
std::span<const MenuItemDef> TextMenuItems() {
    return kText;
}
std::span<const AcceleratorDef> MenuAccelerators() {
    return kAccelerators;
}

}  // namespace vantor
