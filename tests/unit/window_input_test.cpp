#include "ui/window_input.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/single_instance.h"
#include "ui/menus.h"

namespace vantor {
namespace {

TEST(WindowInputTest, Keys) {
    struct Case {
        int key;
        bool alt;
        KeyTarget target;
        KeyAction action;
    };
    const Case cases[] = {
        {27, false, KeyTarget::kText, KeyAction::kHide},
        {27, false, KeyTarget::kExitButton, KeyAction::kHide},
        {13, false, KeyTarget::kCopyButton, KeyAction::kCopy},
        {13, false, KeyTarget::kExitButton, KeyAction::kExit},
        {13, false, KeyTarget::kCloseButton, KeyAction::kHide},
        {13, false, KeyTarget::kText, KeyAction::kHide},
        {13, false, KeyTarget::kWindow, KeyAction::kHide},
        {37, true, KeyTarget::kText, KeyAction::kPreviousMessage},
        {37, false, KeyTarget::kText, KeyAction::kNone},
        {39, true, KeyTarget::kText, KeyAction::kNone},  // Alt+Right is the menu's accelerator
        {65, false, KeyTarget::kText, KeyAction::kNone},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageWindowKey(c.key, c.alt, c.target), c.action)
            << c.key << " alt " << c.alt << " target " << static_cast<int>(c.target);
    }
}

TEST(WindowInputTest, CloseOnMouseAndTrayClicks) {
    const TextMouse all[] = {TextMouse::kLeftDown, TextMouse::kLeftUp, TextMouse::kRightDown,
                             TextMouse::kDoubleClick};
    // For each "Close on" choice, the one event that hides (none for "only auto" and junk).
    const struct {
        int closeOn;
        int hidingEvent;  // index into all, -1 none
    } cases[] = {{0, -1}, {1, 0}, {2, 3}, {3, 2}, {4, -1}, {-1, -1}};
    for (const auto& c : cases) {
        for (int e = 0; e < 4; ++e) {
            EXPECT_EQ(HidesOnMouse(c.closeOn, all[e]), e == c.hidingEvent)
                << "closeOn " << c.closeOn << " event " << e;
        }
    }
    EXPECT_EQ(TrayMouse(0x0201), TrayAction::kToggleWindow);
    EXPECT_EQ(TrayMouse(0x0204), TrayAction::kOpenMenu);
    for (unsigned ignored : {0x0200u, 0x0202u, 0x0203u, 0x0205u, 0x0206u, 0x0207u, 0x0208u}) {
        EXPECT_EQ(TrayMouse(ignored), TrayAction::kNone) << ignored;
    }
}

TEST(WindowInputTest, MenusAndAcceleratorsAgree) {
    // Every accelerator runs a command some menu item has, and that item's caption names
    // the shortcut after its tab; command ids are unique.
    std::set<int> ids;
    auto check = [&](std::span<const MenuItemDef> items) {
        for (const auto& item : items) {
            if (item.command == kCmdNone) {
                EXPECT_STREQ(item.caption, "-");
                continue;
            }
            EXPECT_TRUE(ids.insert(item.command).second) << item.name;
        }
    };
    check(TrayMenuItems());
    check(TextMenuItems());
    EXPECT_EQ(TrayMenuItems().size(), 10u);
    EXPECT_EQ(TextMenuItems().size(), 6u);
    EXPECT_TRUE(TrayMenuItems()[0].isDefault);
    const struct {
        MenuCommand command;
        const char* shortcut;
    } named[] = {{kCmdPrevious, "Alt+Left"},
                 {kCmdNext, "Alt+Right"},
                 {kCmdCopy, "Ctrl+C"},
                 {kCmdHelpTopic, "F1"}};
    for (const auto& accel : MenuAccelerators()) {
        bool found = false;
        for (const auto& n : named) {
            if (n.command != accel.command) continue;
            found = true;
            bool captionHasIt = false;
            for (auto items : {TrayMenuItems(), TextMenuItems()}) {
                for (const auto& item : items) {
                    const std::string caption = item.caption;
                    if (item.command == accel.command) {
                        captionHasIt = caption.ends_with(std::string("\t") + n.shortcut);
                    }
                }
            }
            EXPECT_TRUE(captionHasIt) << n.shortcut;
        }
        EXPECT_TRUE(found) << accel.key;
    }
}

TEST(WindowInputTest, SingleInstanceDecision) {
    EXPECT_EQ(SecondStartNoticeName(), "Message.Vantor");
    struct Case {
        InstanceProbe probe;
        bool first;
    };
    const Case cases[] = {
        {{true, true, true, 0x0}, true},     // WAIT_OBJECT_0
        {{true, true, true, 0x80}, true},    // WAIT_ABANDONED: the old instance died
        {{true, true, true, 0x102}, false},  // WAIT_TIMEOUT: another instance holds it
        {{false, true, true, 0x0}, false},  {{true, false, true, 0x0}, false},
        {{true, true, false, 0x0}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsFirstInstance(c.probe), c.first)
            << c.probe.noticeRegistered << c.probe.unnamedMutexCreated << c.probe.namedMutexOpened
            << " " << c.probe.waitResult;
    }
}

}  // namespace
}  // namespace vantor
