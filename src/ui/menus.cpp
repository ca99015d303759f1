#include "ui/menus.h"

namespace vantor {

namespace {

using C = Caption;

constexpr MenuItemDef kTray[] = {
    {C::pmMessage, kCmdLastMessage, true},
    {C::pmPrevMessage, kCmdTrayPrevious, false},
    {C::pmSpy, kCmdSpy, false},
    {C::pmDisable, kCmdDisable, false},
    {C::kNone, kCmdNone, false},
    {C::pmSetup, kCmdSettings, false},
    {C::pmAbout, kCmdAbout, false},
    {C::pmTopic, kCmdHelpTopic, false},
    {C::kNone, kCmdNone, false},
    {C::pmClose, kCmdExit, false},
};

constexpr MenuItemDef kText[] = {
    {C::mmPrev, kCmdPrevious, false},  {C::mmNext, kCmdNext, false},
    {C::mmCopy, kCmdCopy, false},      {C::mmWhite, kCmdAddWhite, false},
    {C::mmBlack, kCmdAddBlack, false}, {C::mmMain, kCmdAdvancedList, false},
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
