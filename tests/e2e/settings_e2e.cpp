// e2e-timeout: 300
// The settings dialog of the real vantor.exe, driven as a user drives it: opened from the
// tray menu, its check boxes clicked with the mouse, its keys pressed. First-start defaults,
// the live options before OK and after Cancel, OK's keys and the Buttons group, autorun, the
// stored position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/autorun.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

Process OkMessage(const std::string& caption, const std::string& text) {
    return Process::Start(ToolPath("app_edit_dialog"), {caption, text, "10", "plain"});
}

// The dialog's client position of a control.
POINT ClientPosition(HWND dialog, HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    POINT p = {r.left, r.top};
    ScreenToClient(dialog, &p);
    return p;
}

TEST(Settings, FirstStartShowsTheDefaultsInTheirPlaces) {
    Vantor vantor(FreshFolder());
    ASSERT_TRUE(vantor.Start());
    HWND dialog = vantor.Settings();
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(FindChild(dialog, "Button"), nullptr) << "the controls come with the first show";

    // Settings... is the tray menu's sixth item (the separator is skipped).
    vantor.Tray(WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (menu = OpenMenuOf(vantor.Proc().Id())) != nullptr; }, 3000));
    for (int i = 0; i < 5; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }, 3000))
        << DescribeTopLevelWindows(vantor.Proc().Id());
    EXPECT_EQ(TextOf(dialog), "Vantor settings");
    RECT outer = {}, client = {};
    GetWindowRect(dialog, &outer);
    GetClientRect(dialog, &client);
    EXPECT_EQ(outer.left, 567);
    EXPECT_EQ(outer.top, 105);
    EXPECT_EQ(client.right, 445);
    EXPECT_EQ(client.bottom, 266);
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) << std::hex << style;

    const struct {
        int id;
        int x, y;
        bool checked, enabled;
    } controls[] = {
        {kCheckAutoRun, 12, 16, false, true},
        {kCheckAutoclose, 12, 34, true, true},
        {kCheckChangeCase, 236, 16, false, true},
        {kCheckChangeCaseFirst, 252, 34, false, true},
        {kCheckSelectAll, 236, 52, false, true},
        {kCheckCloseYesNo, 236, 72, false, true},
        {kCheckBtCopy, 236, 120, false, true},
        {kCheckBtClose, 236, 138, false, true},
        {kCheckBtTimer, 252, 156, false, true},
        {kCheckBtExit, 236, 176, false, true},
        {kCheckBorder, 236, 194, true, true},
        {kGbMessages, 4, 104, false, false},
        {kLbCloseOn, 12, 116, false, false},
        {kComboCloseOn, 12, 132, false, false},
        {kBtOK, 8, 242, false, true},
        {kBtHelp, 366, 242, false, true},
    };
    for (const auto& c : controls) {
        HWND control = vantor.SettingsControl(c.id);
        ASSERT_NE(control, nullptr) << c.id;
        const POINT at = ClientPosition(dialog, control);
        EXPECT_EQ(at.x, c.x) << c.id;
        EXPECT_EQ(at.y, c.y) << c.id;
        if (ClassNameOf(control) == "Button" && c.id != kGbMessages && c.id < kBtOK) {
            EXPECT_EQ(IsChecked(control), c.checked) << c.id;
        }
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, c.enabled) << c.id;
    }
    EXPECT_EQ(TextOf(vantor.SettingsControl(kComboCloseOn)), "Only auto");
    EXPECT_EQ(Ask(vantor.SettingsControl(kComboCloseOn), CB_GETCOUNT), 4);
    EXPECT_EQ(TextOf(vantor.SettingsControl(kComboLanguage)), "  Build-in (English)");

    // Tab goes round the controls that take the focus, in table order; disabled ones are
    // skipped. Shift+Tab goes back.
    ASSERT_TRUE(
        WaitUntil([&] { return FocusOf(dialog) == vantor.SettingsControl(kCheckAutoRun); }, 2000));
    const int order[] = {kCheckAutoclose, kComboLanguage,   kCheckChangeCase, kCheckChangeCaseFirst,
                         kCheckSelectAll, kCheckCloseYesNo, kCheckBtCopy,     kCheckBtClose,
                         kCheckBtTimer,   kCheckBtExit,     kCheckBorder,     kBtOK,
                         kBtCancel,       kBtHelp,          kCheckAutoRun};
    for (int id : order) {
        PressKeys({VK_TAB});
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == vantor.SettingsControl(id); }, 2000))
            << "expected " << id << ", focus on " << GetDlgCtrlID(FocusOf(dialog));
    }
    PressKeys({VK_SHIFT, VK_TAB});
    EXPECT_TRUE(
        WaitUntil([&] { return FocusOf(dialog) == vantor.SettingsControl(kBtHelp); }, 2000));

    // Esc is Cancel: hidden, not destroyed; nothing was written.
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 2000));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(Escaped(vantor.Ini()), Escaped("[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5"));
}

TEST(Settings, ALiveOptionActsAtOnceAndCancelLeavesTheFile) {
    Vantor vantor(FreshFolder());
    ASSERT_TRUE(vantor.Start());
    const std::string before = vantor.Ini();
    // A Yes/No dialog in the foreground, Esc held for a few ticks: the answer is No only when
    // "Close Yes|No dialogs on Esc" is on. (A dialog of its own: Wine's Yes/No message boxes
    // close on Esc by themselves, Windows' do not.)
    auto escOnYesNo = [&](const char* caption) {
        Process box =
            Process::Start(ToolPath("app_edit_dialog"), {caption, "Go on?", "20", "yesno"});
        HWND dialog = WaitForTopLevelWindow({"#32770", std::string(caption), box.Id()}, 5000);
        if (!dialog || !WaitUntil([&] { return GetForegroundWindow() == dialog; }, 3000)) {
            return std::optional<DWORD>();
        }
        PressKeys({VK_ESCAPE}, 250);
        std::optional<DWORD> result = box.WaitExit(2000);
        if (!result) {  // still open: answered here so that it goes
            SendMessageTimeoutA(GetDlgItem(dialog, IDYES), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000,
                                nullptr);
            box.WaitExit(3000);
        }
        return result;
    };
    EXPECT_NE(escOnYesNo("off e2e"), std::optional<DWORD>(IDNO)) << "answered while off";

    ASSERT_TRUE(vantor.OpenSettings());
    HWND yesNo = vantor.SettingsControl(kCheckCloseYesNo);
    ClickAt(yesNo);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(yesNo); }, 2000));
    EXPECT_EQ(escOnYesNo("live e2e"), std::optional<DWORD>(IDNO)) << "not in force before OK";

    ClickAt(vantor.SettingsControl(kBtCancel));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(vantor.Settings()); }, 2000));
    EXPECT_EQ(Escaped(vantor.Ini()), Escaped(before)) << "Cancel wrote the file";
    // Still in force for this run, and the dialog shows what the user left.
    EXPECT_EQ(escOnYesNo("after cancel e2e"), std::optional<DWORD>(IDNO));
    ASSERT_TRUE(vantor.OpenSettings());
    EXPECT_TRUE(IsChecked(yesNo));
    ASSERT_TRUE(vantor.Exit());
    EXPECT_EQ(std::string(vantor.Ini()).find("cbCloseYesNo"), std::string::npos);
}

TEST(Settings, OkWritesTheKeysAndAppliesTheButtonsGroup) {
    Vantor vantor(FreshFolder());
    ASSERT_TRUE(vantor.Start());
    ASSERT_TRUE(vantor.OpenSettings());
    auto control = [&](int id) { return vantor.SettingsControl(id); };
    // Copy, Close with its timer, Exit, no border, Select all; then Close off again: the
    // timer's box is disabled but stays checked.
    for (int id : {kCheckBtCopy, kCheckBtClose, kCheckBtTimer, kCheckBtExit, kCheckBorder,
                   kCheckSelectAll}) {
        ClickAt(control(id));
        Sleep(100);
    }
    ClickAt(control(kCheckBtClose));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(control(kCheckBtTimer)); }, 2000));
    EXPECT_TRUE(IsChecked(control(kCheckBtTimer)));
    EXPECT_FALSE(IsChecked(control(kCheckBorder)));
    // Enter on a check box presses OK.
    SetForegroundWindow(vantor.Settings());
    PostMessageA(control(kCheckSelectAll), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(vantor.Settings()); }, 3000));
    EXPECT_EQ(Escaped(vantor.Ini()),
              Escaped("[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5\r\ncbAutoclose=1\r\n"
                      "cbChangeCase=0\r\ncbChangeCaseFirst=0\r\ncbSelectAll=1\r\ncbCloseYesNo=0\r\n"
                      "cbClose=0\r\nbtCopy.Visible=1\r\nbtClose.Visible=0\r\nIsTimer=1\r\n"
                      "btExit.Visible=1\r\ncbBorder=0\r\n"));
    // The settings write (a temporary file and a rename) wakes the list watch: its check
    // reloads nothing and shows nothing.
    Sleep(500);
    EXPECT_FALSE(vantor.Visible()) << "the settings write brought up: " << vantor.Text();

    // The message window: Copy and Exit, no Close, no border; the seconds are not counted on
    // the (hidden) Close button, since its box was off. (Messages with a Latin "OK" button,
    // which every system's Vantor closes.)
    Process box = OkMessage("buttons e2e", "applied");
    ASSERT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible() && vantor.Text() == "applied"; }, 3000));
    auto shown = [&](const char* caption) {
        HWND button = FindChild(vantor.Window(), "Button", std::string(caption));
        return button && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE) != 0;
    };
    EXPECT_TRUE(shown("Copy"));
    EXPECT_TRUE(shown("Exit"));
    EXPECT_FALSE(shown("Close"));
    EXPECT_FALSE(GetWindowLongA(vantor.Window(), GWL_STYLE) & WS_CAPTION);
    Sleep(2200);
    EXPECT_EQ(TextOf(GetDlgItem(vantor.Window(), kBtClose)), "Close");

    // Close on again: now the timer counts.
    ASSERT_TRUE(vantor.OpenSettings());
    ClickAt(control(kCheckBtClose));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(control(kCheckBtTimer)) != FALSE; }, 2000));
    ClickAt(control(kBtOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(vantor.Settings()); }, 3000));
    Process second = OkMessage("timer e2e", "counted");
    ASSERT_EQ(second.WaitExit(5000), std::optional<DWORD>(IDOK));
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible() && vantor.Text() == "counted"; }, 3000));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(vantor.Window(), kBtClose)));
    EXPECT_TRUE(WaitUntil(
        [&] { return TextOf(GetDlgItem(vantor.Window(), kBtClose)).rfind("Close (", 0) == 0; },
        3000))
        << TextOf(GetDlgItem(vantor.Window(), kBtClose));
}

// Vantor.ini read-only and held open by another program: OK and Exit tell the user in the
// message window, the file stays as it was, the settings stay in force for the run, and Exit
// still ends the program once its notice was shown.
TEST(Settings, AFailedWriteIsToldAndTheSettingsStayInForce) {
    Vantor vantor(FreshFolder());
    ASSERT_TRUE(vantor.Start());
    const std::string ini = vantor.Folder() + "Vantor.ini";
    const std::string before = vantor.Ini();
    ASSERT_TRUE(SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE held = CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    auto told = [&] {
        const std::string text = vantor.Text();
        return vantor.Visible() && text.rfind("Could not write ", 0) == 0 &&
               text.find("Vantor.ini: ") != std::string::npos &&
               text.find("\r\nThe settings stay in force until Vantor exits.") != std::string::npos;
    };
    ASSERT_TRUE(vantor.OpenSettings());
    ClickAt(vantor.SettingsControl(kCheckBtCopy));
    Sleep(100);
    ClickAt(vantor.SettingsControl(kBtOK));
    EXPECT_TRUE(WaitUntil(told, 3000)) << Escaped(vantor.Text());
    HWND copy = FindChild(vantor.Window(), "Button", std::string("Copy"));
    EXPECT_TRUE(copy && (GetWindowLongA(copy, GWL_STYLE) & WS_VISIBLE)) << "not in force";
    vantor.Command(kCmdCloseButton);
    ASSERT_TRUE(WaitUntil([&] { return vantor.Hidden(); }, 3000));
    vantor.Command(kCmdExit);
    EXPECT_TRUE(WaitUntil(told, 3000)) << Escaped(vantor.Text());
    EXPECT_TRUE(vantor.Proc().WaitExit(10000).has_value()) << "Exit waits for ever";
    CloseHandle(held);
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(vantor.Ini(), before);
}

std::optional<std::string> RunValue() {
    char data[1024] = {};
    DWORD size = sizeof(data), type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, std::string(kRunKeyPath).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    const LONG result =
        RegQueryValueExA(key, "Vantor", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    return std::string(data, size > 0 && data[size - 1] == '\0' ? size - 1 : size);
}

TEST(Settings, AutorunWritesAndRemovesTheRunValue) {
    const std::string folder = JoinPath(FreshFolder(), "with blank") + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_EQ(RunValue(), std::nullopt) << "a Run value from elsewhere";
    const std::string quoted = "\"" + folder + "vantor.exe\"";
    {
        Vantor vantor(folder);
        ASSERT_TRUE(vantor.Start());
        ASSERT_TRUE(vantor.OpenSettings());
        HWND autorun = vantor.SettingsControl(kCheckAutoRun);
        EXPECT_FALSE(IsChecked(autorun));
        ClickAt(autorun);
        EXPECT_TRUE(WaitUntil([&] { return RunValue().has_value(); }, 2000));
        EXPECT_EQ(Escaped(RunValue().value_or("<none>")), Escaped(quoted));
        ClickAt(autorun);
        EXPECT_TRUE(WaitUntil([&] { return !RunValue().has_value(); }, 2000)) << "not removed";
        ClickAt(autorun);
        ASSERT_TRUE(WaitUntil([&] { return RunValue().has_value(); }, 2000));
        // Cancel does not undo it.
        ClickAt(vantor.SettingsControl(kBtCancel));
        ASSERT_TRUE(vantor.Exit());
        EXPECT_EQ(Escaped(RunValue().value_or("<none>")), Escaped(quoted));
    }
    {
        Vantor vantor(folder);
        ASSERT_TRUE(vantor.Start());
        ASSERT_TRUE(vantor.OpenSettings());
        EXPECT_TRUE(IsChecked(vantor.SettingsControl(kCheckAutoRun))) << "the next start shows it";
        ClickAt(vantor.SettingsControl(kCheckAutoRun));
        EXPECT_TRUE(WaitUntil([&] { return !RunValue().has_value(); }, 2000));

        // Without the Run key (it is opened, never created) nothing can be written: the box
        // goes back to what the registry holds rather than showing a value that is not there.
        ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, std::string(kRunKeyPath).c_str()),
                  ERROR_SUCCESS);
        ClickAt(vantor.SettingsControl(kCheckAutoRun));
        Sleep(500);
        EXPECT_FALSE(IsChecked(vantor.SettingsControl(kCheckAutoRun)));
        HKEY probe = nullptr;
        EXPECT_NE(
            RegOpenKeyExA(HKEY_CURRENT_USER, std::string(kRunKeyPath).c_str(), 0, KEY_READ, &probe),
            ERROR_SUCCESS)
            << "the Run key was created";
        if (probe) RegCloseKey(probe);
        HKEY run = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, std::string(kRunKeyPath).c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &run, nullptr);
        if (run) RegCloseKey(run);
    }
    // Never leave a Run value in the shared prefix.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, std::string(kRunKeyPath).c_str(), 0, KEY_SET_VALUE,
                      &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Vantor");
        RegCloseKey(key);
    }
}

TEST(Settings, StoredPositionIsPulledOntoTheScreenAndTheLastOneIsWritten) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nfmSetup.Left=-50\r\nfmSetup.Top=3000\r\n");
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    RECT r = {};
    GetWindowRect(vantor.Settings(), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN)) << "with the dialog's real outer height";
    const int height = r.bottom - r.top;
    ASSERT_TRUE(vantor.Exit());
    EXPECT_EQ(GetPrivateProfileIntA("Main", "fmSetup.Left", -1, (folder + "Vantor.ini").c_str()),
              0);
    EXPECT_EQ(GetPrivateProfileIntA("Main", "fmSetup.Top", -1, (folder + "Vantor.ini").c_str()),
              GetSystemMetrics(SM_CYSCREEN) - height);

    // Moved by the user: where it is at the end is written.
    Vantor again(folder);
    ASSERT_TRUE(again.Start());
    ASSERT_TRUE(again.OpenSettings());
    SetWindowPos(again.Settings(), nullptr, 100, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(again.Settings()); }, 2000));
    ASSERT_TRUE(again.Exit());
    EXPECT_EQ(GetPrivateProfileIntA("Main", "fmSetup.Left", -1, (folder + "Vantor.ini").c_str()),
              100);
    EXPECT_EQ(GetPrivateProfileIntA("Main", "fmSetup.Top", -1, (folder + "Vantor.ini").c_str()),
              200);
}

}  // namespace
}  // namespace vantor::e2e
