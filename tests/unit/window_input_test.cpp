#include "ui/window_input.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "forms/dialog_keys.h"
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
    EXPECT_EQ(TrayCommand(0x0201), kCmdToggleWindow);
    EXPECT_EQ(TrayCommand(0x0204), kCmdOpenTrayMenu);
    for (unsigned ignored : {0x0200u, 0x0202u, 0x0203u, 0x0205u, 0x0206u, 0x0207u, 0x0208u}) {
        EXPECT_EQ(TrayCommand(ignored), kCmdNone) << ignored;
    }
    // The message window's buttons run program commands through the dispatcher.
    EXPECT_EQ(ButtonCommand(kBtCopy), kCmdCopy);
    EXPECT_EQ(ButtonCommand(kBtClose), kCmdCloseButton);
    EXPECT_EQ(ButtonCommand(kBtExit), kCmdExit);
    EXPECT_EQ(ButtonCommand(kTextArea), kCmdNone);
    EXPECT_EQ(ButtonCommand(kCmdExit), kCmdNone);  // a menu id is not a button
}

TEST(WindowInputTest, DialogKeys) {
    using A = DialogKeyAction;
    constexpr unsigned kEdit = kDlgcWantArrows | kDlgcWantAllKeys | 0x0088;  // multi-line EDIT
    constexpr unsigned kCombo = kDlgcWantArrows | 0x0080;                    // a closed list
    constexpr unsigned kDropped = kCombo | kDlgcWantAllKeys;                 // a dropped list
    constexpr unsigned kCheck = 0x2000;                                      // DLGC_BUTTON
    constexpr unsigned kPush = 0x2000 | kDlgcUndefPushButton;
    const struct {
        int key;
        bool shift;
        unsigned code;
        DialogKeyAction action;
    } cases[] = {
        {0x09, false, kCheck, A::kNext},
        {0x09, true, kCheck, A::kPrevious},
        {0x09, false, kEdit, A::kNext},
        {0x09, true, kCombo, A::kPrevious},
        {0x09, false, kDlgcWantTab, A::kNone},
        {0x25, false, kCheck, A::kPrevious},
        {0x26, false, kPush, A::kPrevious},
        {0x27, false, kCheck, A::kNext},
        {0x28, false, kPush, A::kNext},
        {0x21, false, kCheck, A::kPrevious},
        {0x22, false, kCheck, A::kNext},
        {0x28, false, kCombo, A::kNone},
        {0x26, false, kEdit, A::kNone},
        {0x22, false, kEdit, A::kNone},
        {0x21, false, kCombo, A::kNone},
        {0x0D, false, kCheck, A::kPressDefault},
        {0x0D, false, kPush, A::kPressFocused},
        {0x0D, false, 0x2000 | kDlgcDefPushButton, A::kPressFocused},
        {0x0D, false, kCombo, A::kPressDefault},
        {0x0D, false, kDropped, A::kNone},
        {0x1B, false, kCheck, A::kPressCancel},
        {0x1B, false, kDropped, A::kNone},
        {0x70, false, kCheck, A::kHelp},
        {0x70, false, kEdit, A::kHelp},
        {0x41, false, kCheck, A::kNone},
        {0x24, false, kCheck, A::kNone},  // A, Home
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlanDialogKey(c.key, c.shift, c.code), c.action)
            << "key " << c.key << " shift " << c.shift << " code " << c.code;
    }
}

TEST(WindowInputTest, FocusOrderWrapsOverControlsThatCanTakeIt) {
    const struct {
        const char* controls;  // one letter a control: x can take the focus, . cannot
        int current;
        bool backward;
        int next;
    } cases[] = {
        {"xxx", 0, false, 1},  {"xxx", 2, false, 0},  {"xxx", 0, true, 2},
        {"x.x", 0, false, 2},  {"x.x", 2, false, 0},  {"x.x", 2, true, 0},
        {".x.", 1, false, 1},  {".x.", 1, true, 1},  // the only one keeps it
        {"...", 0, false, -1}, {"", -1, false, -1},   {"x.x", -1, false, 0},
        {"x.x", -1, true, 2},                          // focus on none of them
        {"xx.x", 1, false, 3}, {".xx.", 3, false, 1},  // from a control that cannot take it
    };
    for (const auto& c : cases) {
        const std::string pattern = c.controls;
        std::unique_ptr<bool[]> can(new bool[pattern.size() + 1]);
        for (std::size_t i = 0; i < pattern.size(); ++i) can[i] = pattern[i] == 'x';
        EXPECT_EQ(
            NextFocusIndex(std::span<const bool>(can.get(), pattern.size()), c.current, c.backward),
            c.next)
            << pattern << " from " << c.current << (c.backward ? " back" : "");
    }
}

TEST(WindowInputTest, MenusAndAcceleratorsAgree) {
    // Every accelerator runs a command some menu item has, and that item's caption names
    // the shortcut after its tab; command ids are unique.
    std::set<int> ids;
    const CaptionSet captions = BuiltInCaptions();
    auto check = [&](std::span<const MenuItemDef> items) {
        for (const auto& item : items) {
            EXPECT_EQ(item.command == kCmdNone, item.caption == Caption::kNone);
            if (item.command == kCmdNone) continue;
            EXPECT_TRUE(ids.insert(item.command).second) << captions[item.caption];
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
                    if (item.command == accel.command) {
                        captionHasIt =
                            captions[item.caption].ends_with(std::string("\t") + n.shortcut);
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
