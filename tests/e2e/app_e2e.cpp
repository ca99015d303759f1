// e2e-timeout: 420
// The real vantor.exe in a fresh folder against real dialogs of other programs: start-up
// files, single instance, closing message boxes, the white and black lists, dialogs that
// must be left alone, paging through the log, the countdown, Disable, Exit and the saved
// size. The tray and the menus are driven the way the shell drives them: the tray callback
// message to the application window and WM_COMMAND menu ids to the message window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(App, PagingThroughTheLogAndTheTrayToggle) {
    const std::string folder = FreshFolder();
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    for (int i = 0; i < 3; ++i) {
        Process box = ShowBox("page " + std::to_string(i), "text " + std::to_string(i));
        ASSERT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK)) << i;
    }
    struct Step {
        MenuCommand command;
        const char* caption;
        const char* text;
    };
    const Step steps[] = {
        {kCmdTrayPrevious, "page 1", "text 1"},
        {kCmdPrevious, "page 0", "text 0"},
        {kCmdPrevious, "Vantor", "It was first message."},
        {kCmdNext, "page 0", "text 0"},
        {kCmdNext, "page 1", "text 1"},
        {kCmdNext, "page 2", "text 2"},
        {kCmdNext, "Vantor", "It was last message."},
        {kCmdPrevious, "page 2", "text 2"},
        {kCmdTrayPrevious, "page 1", "text 1"},
        {kCmdLastMessage, "page 2", "text 2"},
    };
    for (const auto& step : steps) {
        vantor.CommandAndWait(step.command);
        EXPECT_EQ(vantor.Caption(), step.caption) << step.text;
        EXPECT_EQ(vantor.Text(), step.text);
        EXPECT_TRUE(vantor.Visible());
    }
    ExpectAtCorner(vantor.Window());

    // Left click on the tray icon hides the window; the next one shows the newest entry.
    vantor.CommandAndWait(kCmdPrevious);
    vantor.Tray(WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 2000));
    vantor.Tray(WM_LBUTTONUP);      // releases, double clicks and the right button's release do
    vantor.Tray(WM_LBUTTONDBLCLK);  // nothing
    vantor.Tray(WM_RBUTTONUP);
    Sleep(300);
    EXPECT_FALSE(vantor.Visible());
    vantor.Tray(WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 2000));
    EXPECT_EQ(vantor.Text(), "text 2");
    EXPECT_EQ(vantor.Caption(), "page 2");

    // A second start shows the newest entry rather than the running notice.
    vantor.Tray(WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 2000));
    Process second = Process::Start(vantor.Exe(), {}, folder);
    EXPECT_TRUE(second.WaitExit(15000).has_value());
    EXPECT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 3000));
    EXPECT_EQ(vantor.Text(), "text 2");
}

TEST(App, WindowHidesAfterMessageTimeUnlessInForeground) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nMessageTime=2\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    Process box = ShowBox("timed e2e", "goes away");
    // Timed from the show itself: a closed program can take a while to end under Wine.
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 5000, 2));
    const DWORD shown = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 5000, 2));
    const DWORD after = GetTickCount() - shown;
    // Two full seconds are counted; the window hides at the tick after that.
    EXPECT_GE(after, 1900u);
    EXPECT_LE(after, 3300u);
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));

    // Hidden, the count has nothing left to do and its timer stops; the next message starts
    // it again, so that one hides in time too.
    Sleep(1500);
    Process second = ShowBox("timed again e2e", "goes away too");
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible() && vantor.Caption() == "timed again e2e"; },
                          5000, 2));
    const DWORD shownAgain = GetTickCount();
    EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 5000, 2));
    EXPECT_LE(GetTickCount() - shownAgain, 3300u);
    EXPECT_EQ(second.WaitExit(5000), std::optional<DWORD>(IDOK));

    // Called up by the user it takes the foreground, and then it stays.
    vantor.CommandAndWait(kCmdLastMessage);
    ASSERT_TRUE(vantor.Visible());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == vantor.Window(); }, 2000))
        << "foreground is " << ClassNameOf(GetForegroundWindow());
    Sleep(3500);
    EXPECT_TRUE(vantor.Visible());
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

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST(App, CopyScrollBarAndTheKeysThatHide) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nbtExit.Visible=1\r\nbtCopy.Visible=1\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    // Nothing shown yet: the text area and the buttons do not exist before the first show.
    EXPECT_EQ(FindChild(vantor.Window(), "Edit"), nullptr);

    // A short text has no scroll bar; forty lines in a 100-pixel window get one.
    Process shortBox = ShowBox("short e2e", "three word text");
    ASSERT_EQ(shortBox.WaitExit(5000), std::optional<DWORD>(IDOK));
    ASSERT_TRUE(WaitUntil([&] { return vantor.Text() == "three word text"; }, 3000));
    HWND edit = FindChild(vantor.Window(), "Edit");
    HWND exitButton = FindChild(vantor.Window(), "Button", std::string("Exit"));
    ASSERT_NE(edit, nullptr);
    // The buttons were created as the settings asked before the window existed.
    auto shown = [&](const char* caption) {
        HWND button = FindChild(vantor.Window(), "Button", std::string(caption));
        return button && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE) != 0;
    };
    EXPECT_TRUE(shown("Exit"));
    EXPECT_TRUE(shown("Copy"));
    EXPECT_FALSE(shown("Close"));
    EXPECT_FALSE(GetWindowLongA(edit, GWL_STYLE) & WS_VSCROLL);
    std::string lines, expected;
    for (int i = 0; i < 40; ++i) {
        lines += "line " + std::to_string(i) + (i < 39 ? "\\r\\n" : "");
        expected += "line " + std::to_string(i) + (i < 39 ? "\r\n" : "");
    }
    Process longBox = ShowBox("long e2e", lines);
    ASSERT_EQ(longBox.WaitExit(5000), std::optional<DWORD>(IDOK));
    ASSERT_TRUE(WaitUntil([&] { return vantor.Text() == expected; }, 3000));
    EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & WS_VSCROLL);

    // Copy takes the whole text, or only the selection when there is one.
    vantor.CommandAndWait(kCmdPrevious);
    ASSERT_EQ(vantor.Text(), "three word text");
    vantor.CommandAndWait(kCmdCopy);
    EXPECT_EQ(ClipboardText(), "three word text");
    SendMessageTimeoutA(edit, EM_SETSEL, 6, 10, SMTO_ABORTIFHUNG, 2000, nullptr);
    vantor.CommandAndWait(kCmdCopy);
    EXPECT_EQ(ClipboardText(), "word");

    // Esc, Enter in the text, the close box and minimize each hide it; the program goes on.
    const struct {
        const char* what;
        HWND target;
        UINT message;
        WPARAM wParam;
    } hiders[] = {{"Esc", edit, WM_KEYDOWN, VK_ESCAPE},
                  {"Enter", edit, WM_KEYDOWN, VK_RETURN},
                  {"close box", vantor.Window(), WM_CLOSE, 0},
                  {"minimize", vantor.Window(), WM_SYSCOMMAND, SC_MINIMIZE}};
    for (const auto& h : hiders) {
        vantor.CommandAndWait(kCmdLastMessage);
        ASSERT_TRUE(vantor.Visible()) << h.what;
        PostMessageA(h.target, h.message, h.wParam, 0);
        EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 2000)) << h.what;
        EXPECT_TRUE(vantor.Proc().Running()) << h.what;
    }
    // Enter on the Exit button ends the program (and saves the keys).
    PostMessageA(exitButton, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(vantor.Proc().WaitExit(10000).has_value());
    EXPECT_EQ(ReadIntKey(folder + "Vantor.ini", "Width"), 230);
}


TEST(App, KeysMoveTheFocusInTheMessageWindowAndRunItsCommands) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nbtCopy.Visible=1\r\nbtExit.Visible=1\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    for (int i = 0; i < 3; ++i) {
        Process box = ShowBox("keys " + std::to_string(i), "key text " + std::to_string(i));
        ASSERT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK)) << i;
    }
    vantor.CommandAndWait(kCmdLastMessage);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == vantor.Window(); }, 3000));
    HWND fm = vantor.Window();
    HWND edit = FindChild(fm, "Edit");
    HWND copy = FindChild(fm, "Button", std::string("Copy"));
    HWND exit = FindChild(fm, "Button", std::string("Exit"));
    ASSERT_TRUE(edit && copy && exit);
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(fm) == edit; }, 2000));
    auto name = [&](HWND w) {
        return w == edit ? "text" : w == copy ? "Copy" : w == exit ? "Exit" : "other";
    };
    // The hidden Close button is skipped; the text area keeps the arrows and page keys.
    const struct {
        std::initializer_list<WORD> keys;
        HWND focus;
    } steps[] = {
        {{VK_TAB}, copy},  {{VK_RIGHT}, exit},         {{VK_NEXT}, edit}, {{VK_DOWN}, edit},
        {{VK_NEXT}, edit}, {{VK_SHIFT, VK_TAB}, exit}, {{VK_LEFT}, copy}, {{VK_UP}, edit},
        {{VK_TAB}, copy},  {{VK_PRIOR}, edit},
    };
    for (const auto& step : steps) {
        PressKeys(step.keys);
        Sleep(150);  // the key reaches the other program asynchronously
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(fm) == step.focus; }, 2000))
            << "after key " << *step.keys.begin() << " the focus is on " << name(FocusOf(fm))
            << ", not " << name(step.focus);
    }
    EXPECT_TRUE(vantor.Visible()) << "a navigation key hid the window";
    EXPECT_EQ(vantor.Caption(), "keys 2");

    // Alt+Left steps back once per press; Ctrl+C copies; Esc hides.
    PressKeys({VK_MENU, VK_LEFT});
    EXPECT_TRUE(WaitUntil([&] { return vantor.Caption() == "keys 1"; }, 2000)) << vantor.Caption();
    Sleep(300);
    EXPECT_EQ(vantor.Caption(), "keys 1");
    EXPECT_EQ(vantor.Text(), "key text 1");
    PressKeys({VK_CONTROL, 'C'});
    Sleep(300);
    EXPECT_EQ(ClipboardText(), "key text 1");
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 2000));
    EXPECT_TRUE(vantor.Proc().Running());
}

// "Color" paints the window and its text area; read back from the screen.
TEST(App, ColorFromTheSettingsPaintsTheWindow) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nColor=FF0000\r\nMessageTransparent=255\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    Process box = ShowBox("color e2e", "x");
    ASSERT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible() && vantor.Text() == "x"; }, 3000));
    Sleep(300);  // painted
    RECT text = {};
    GetWindowRect(FindChild(vantor.Window(), "Edit"), &text);
    HDC screen = GetDC(nullptr);
    // Below the one line of text, inside the text area.
    const COLORREF pixel = GetPixel(screen, text.left + 40, text.bottom - 10);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(pixel, RGB(255, 0, 0)) << std::hex << pixel;
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

TEST(App, ExitDoesNotWaitForATickSleepingInARule) {
    const std::string folder = FreshFolder();
    // Every tick sleeps 8 s while the front window of app_box_behind is in the foreground;
    // the box behind it stays (no early look at new windows) and keeps that window there.
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nWindowEvents=0\r\n");
    WriteFileBytes(folder + "Main.ini", "VantorE2EFront||sleep 8000\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    Process box = Process::Start(ToolPath("app_box_behind"), {"sleeper e2e", "not now"});
    ASSERT_TRUE(box.Started());
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("sleeper e2e"), box.Id()}, 5000);
    ASSERT_NE(dialog, nullptr);
    Sleep(1000);  // a tick is asleep in the rule by now
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
