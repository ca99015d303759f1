// e2e-timeout: 420
// The real vantor.exe in a fresh folder against real dialogs of other programs: start-up
// files, single instance, closing message boxes, the white and black lists, dialogs that
// must be left alone, Disable, the tray menu, Exit and the saved size. The tray and the
// menus are driven the way the shell drives them: the tray callback message to the
// application window and WM_COMMAND menu ids to the message window.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "lists/list_files.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

constexpr char kStartText[] = "There were no automatically closed windows.";

TEST(App, FirstStartWritesDefaultsAndSecondStartOnlyNotifies) {
    const std::string folder = FreshFolder();
    Vantor first(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(first.Start());

    EXPECT_EQ(Escaped(ReadFileBytes(folder + "Vantor.ini").value_or("<missing>")),
              Escaped("[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5"));
    for (ListKind kind : kAllListKinds) {
        const auto bytes = ReadFileBytes(folder + ListFileName(kind));
        ASSERT_TRUE(bytes) << ListFileName(kind);
        EXPECT_EQ(Escaped(*bytes), Escaped(std::string(DefaultListContent(kind))))
            << ListFileName(kind);
    }
    EXPECT_EQ(FileNamesIn(folder).size(), 9u);  // the eight files and vantor.exe
    EXPECT_FALSE(first.Visible());
    EXPECT_EQ(first.Caption(), "Vantor");

    // Option words given to the second start change nothing in the running one.
    Process second = Process::Start(first.Exe(), {"/isexitbutton", "-istimer"}, folder);
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitExit(15000).has_value()) << "the second start stays";
    ASSERT_TRUE(WaitUntil([&] { return first.Visible(); }, 5000));
    EXPECT_EQ(first.Text(), "Vantor now is running.");
    EXPECT_EQ(first.Caption(), "Vantor");
    ExpectAtCorner(first.Window());
    EXPECT_FALSE(IsWindowVisible(FindChild(first.Window(), "Button", std::string("Exit"))));
    EXPECT_TRUE(first.Proc().Running());

    int applications = 0;
    EnumWindows(
        [](HWND w, LPARAM count) {
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof(cls));
            if (std::string(cls) == kApplicationWindowClass) ++*reinterpret_cast<int*>(count);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&applications));
    EXPECT_EQ(applications, 1);
    EXPECT_TRUE(first.Exit());
}

TEST(App, ClosesForegroundMessageBoxAndShowsItWithoutTakingFocus) {
    Vantor vantor(FreshFolder(), Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    const std::string caption = "\xC2\xED\xE8\xEC\xE0\xED\xE8\xE5 e2e";  // cp1251 "Внимание"
    Process box = ShowBox("\\xC2\\xED\\xE8\\xEC\\xE0\\xED\\xE8\\xE5 e2e", "Line 1\\r\\nLine 2");
    ASSERT_TRUE(box.Started());
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible() && vantor.Caption() == caption; }, 3000))
        << Escaped(vantor.Caption());
    EXPECT_EQ(Escaped(vantor.Text()), Escaped("Line 1\r\nLine 2"));
    EXPECT_NE(GetForegroundWindow(), vantor.Window());
    ExpectAtCorner(vantor.Window());
    EXPECT_TRUE(GetWindowLongA(vantor.Window(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongA(vantor.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(App, BoxBehindAnotherWindowIsClosedByTheFullPass) {
    // Without the early look at new windows, which would close it before the pass.
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nWindowEvents=0\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    Process box = Process::Start(ToolPath("app_box_behind"), {"behind e2e", "hidden text"});
    ASSERT_TRUE(box.Started());
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("behind e2e"), box.Id()}, 5000);
    const DWORD seen = GetTickCount();
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(GetForegroundWindow(), dialog) << "the box took the foreground; nothing tested";
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
    EXPECT_LE(GetTickCount() - seen, 3500u);
    EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == "hidden text"; }, 2000));
}

TEST(App, WhiteListKeepsABoxOpenAndBlackListClosesItQuietly) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "White.ini", "keep me open e2e\r\n");
    WriteFileBytes(folder + "Black.ini", "close me quietly e2e\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());

    Process black = ShowBox("black e2e", "close me quietly e2e");
    EXPECT_EQ(black.WaitExit(5000), std::optional<DWORD>(IDOK));
    Sleep(500);
    EXPECT_FALSE(vantor.Visible()) << "a black-listed message was shown";
    vantor.CommandAndWait(kCmdLastMessage);  // it was logged all the same
    EXPECT_EQ(vantor.Caption(), "black e2e");
    EXPECT_EQ(vantor.Text(), "close me quietly e2e");

    Process white = ShowBox("white e2e", "keep me open e2e");
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("white e2e"), white.Id()}, 5000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(white.WaitExit(4000).has_value()) << "a white-listed box was closed";
    SendMessageTimeoutA(FindChild(dialog, "Button"), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    EXPECT_EQ(white.WaitExit(5000), std::optional<DWORD>(IDOK));
}

TEST(App, LeavesOtherDialogsAlone) {
    Vantor vantor(FreshFolder(), Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    Process okCancel = ShowBox("ok-cancel e2e", "Proceed?", "0x21");
    Process yesNo = ShowBox("yes-no e2e", "Really?", "0x24");
    Process edit = Process::Start(ToolPath("app_edit_dialog"), {"edit e2e", "Type here", "6"});
    ASSERT_TRUE(okCancel.Started() && yesNo.Started() && edit.Started());
    // Longer than a full pass over all windows.
    EXPECT_FALSE(okCancel.WaitExit(4000).has_value());
    EXPECT_FALSE(yesNo.WaitExit(100).has_value());
    EXPECT_EQ(edit.WaitExit(8000), std::optional<DWORD>(99)) << "the edit dialog was answered";
    for (auto* p : {&okCancel, &yesNo}) {
        HWND dialog = WaitForTopLevelWindow({"#32770", std::nullopt, p->Id()}, 1000);
        SendMessageTimeoutA(dialog, WM_COMMAND, p == &okCancel ? IDCANCEL : IDNO, 0,
                            SMTO_ABORTIFHUNG, 2000, nullptr);
    }
    EXPECT_EQ(okCancel.WaitExit(5000), std::optional<DWORD>(IDCANCEL));
    EXPECT_EQ(yesNo.WaitExit(5000), std::optional<DWORD>(IDNO));
    EXPECT_FALSE(vantor.Visible());
}

TEST(App, DisableStopsClosingAndASecondDisableRestartsIt) {
    Vantor vantor(FreshFolder(), Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    vantor.CommandAndWait(kCmdDisable);
    Process box = ShowBox("disabled e2e", "stays");
    ASSERT_TRUE(box.Started());
    EXPECT_FALSE(box.WaitExit(4000).has_value()) << "closed while disabled";
    vantor.CommandAndWait(kCmdDisable);
    EXPECT_EQ(box.WaitExit(3500), std::optional<DWORD>(IDOK));
}

// Another program posts junk application messages, with nonsense parameters, to each of the
// program's windows (its message-only task window too): it stays alive, answers, and still
// closes a box.
TEST(App, JunkMessagesFromAnotherProgramNeitherEndNorSteerIt) {
    Vantor vantor(FreshFolder(), Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    HWND tasks = nullptr;
    DWORD pid = 0;
    do {
        tasks = FindWindowExA(HWND_MESSAGE, tasks, "VantorUiTasks", nullptr);
    } while (tasks && (GetWindowThreadProcessId(tasks, &pid), pid != vantor.Proc().Id()));
    ASSERT_NE(tasks, nullptr);
    for (HWND window : {tasks, vantor.Window(), vantor.AppWindow(), vantor.Settings()}) {
        for (UINT m = WM_APP; m < WM_APP + 0x100; ++m) PostMessageA(window, m, 0xDEAD, 0x5A5A5A5A);
        for (UINT m = WM_USER; m < WM_USER + 0x40; ++m) PostMessageA(window, m, 0xDEAD, 0x5A5A5A5A);
    }
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(vantor.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer),
              0)
        << "no answer after the junk";
    EXPECT_TRUE(vantor.Proc().Running());
    Process box = ShowBox("junk e2e", "still closed");
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
}

TEST(App, RightClickOpensTheTrayMenuAndItsItemsWork) {
    Vantor vantor(FreshFolder(), Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    vantor.Tray(WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (menu = OpenMenuOf(vantor.Proc().Id())) != nullptr; }, 3000));
    // Escape closes it without a command.
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return OpenMenuOf(vantor.Proc().Id()) == nullptr; }, 3000));
    EXPECT_FALSE(vantor.Visible());
    // Down to the first item, "Last message", and Enter: the window shows the start text.
    vantor.Tray(WM_RBUTTONDOWN);
    ASSERT_TRUE(
        WaitUntil([&] { return (menu = OpenMenuOf(vantor.Proc().Id())) != nullptr; }, 3000));
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 3000));
    EXPECT_EQ(vantor.Text(), kStartText);
    EXPECT_EQ(vantor.Caption(), "Vantor");
    // Under Wine's virtual desktop, a process that has opened a popup menu was seen to read
    // the whole screen as its work area (taskbar included), so the bottom may be either.
    RECT r = {};
    GetWindowRect(vantor.Window(), &r);
    EXPECT_EQ(r.right, WorkArea().right);
    EXPECT_TRUE(r.bottom == WorkArea().bottom || r.bottom == GetSystemMetrics(SM_CYSCREEN))
        << r.bottom;
}

TEST(App, DisableAndExitDoNotWaitForATickSleepingInARule) {
    const std::string folder = FreshFolder();
    // Every tick sleeps (a minute at most) while the front window of app_box_behind is in the
    // foreground; the box behind it stays (no early look at new windows) and keeps it there.
    WriteFileBytes(folder + "Vantor.ini",
                   "[Main]\r\nWindowEvents=0\r\nIsTimer=1\r\nMessageTime=1\r\n");
    WriteFileBytes(folder + "Main.ini", "VantorE2EFront||sleep 600000\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    Process box = Process::Start(ToolPath("app_box_behind"), {"sleeper e2e", "not now"});
    ASSERT_TRUE(box.Started());
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("sleeper e2e"), box.Id()}, 5000);
    ASSERT_NE(dialog, nullptr);
    Sleep(1000);  // a tick is asleep in the rule by now
    // The spy shares the timer thread: it shows the window under the pointer only once
    // Disable has woken the sleeping tick.
    SetCursorPos(350, 300);  // over the front window
    vantor.Command(kCmdSpy);
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 2000));
    vantor.Command(kCmdDisable);
    EXPECT_TRUE(WaitUntil([&] { return vantor.Text().find("VantorE2EFront=") == 0; }, 3000))
        << "Disable left the tick asleep: " << vantor.Text();
    vantor.Command(kCmdDisable);  // enabled again: the rule sleeps again
    Sleep(500);
    const DWORD start = GetTickCount();
    vantor.Command(kCmdExit);
    EXPECT_TRUE(vantor.Proc().WaitExit(5000).has_value()) << "Exit waited for the sleeping tick";
    EXPECT_LE(GetTickCount() - start, 4000u);
    EXPECT_EQ(ReadIntKey(folder + "Vantor.ini", "Width"), 230);
    SendMessageTimeoutA(FindChild(dialog, "Button"), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000,
                        nullptr);
    EXPECT_TRUE(box.WaitExit(5000).has_value());
}

TEST(App, ExitWritesTheFourKeysAndTheSizeComesBack) {
    const std::string folder = FreshFolder();
    const std::string ini = folder + "Vantor.ini";
    {
        Vantor vantor(folder, Vantor::kSystemBoxes);
        ASSERT_TRUE(vantor.Start());
        RECT r = {};
        GetWindowRect(vantor.Window(), &r);
        EXPECT_EQ(r.right - r.left, 230);
        EXPECT_EQ(r.bottom - r.top, 100);
        SetWindowPos(vantor.Window(), nullptr, 0, 0, 310, 155,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(vantor.Exit());
    }
    EXPECT_EQ(ReadIntKey(ini, "Width"), 310);
    EXPECT_EQ(ReadIntKey(ini, "Height"), 155);
    EXPECT_EQ(ReadIntKey(ini, "fmSetup.Left"), 567);
    EXPECT_EQ(ReadIntKey(ini, "fmSetup.Top"), 105);
    {
        Vantor vantor(folder, Vantor::kSystemBoxes);
        ASSERT_TRUE(vantor.Start());
        RECT r = {};
        GetWindowRect(vantor.Window(), &r);
        EXPECT_EQ(r.right - r.left, 310);
        EXPECT_EQ(r.bottom - r.top, 155);
        // Closing the window only hides it; the program goes on.
        vantor.CommandAndWait(kCmdLastMessage);
        PostMessageA(vantor.Window(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 2000));
        EXPECT_FALSE(vantor.Proc().WaitExit(500).has_value());
        ASSERT_TRUE(vantor.Exit());
    }
}

}  // namespace
}  // namespace vantor::e2e
