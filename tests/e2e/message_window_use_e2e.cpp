// e2e-timeout: 180
// The message window of the real vantor.exe in use, after real dialogs of other programs
// were closed: paging through the log with its commands, the tray icon's clicks and a second
// start, hiding after MessageTime, Copy and the scroll bar, the keys that move the focus and
// hide it, and its colour. Commands go to it as WM_COMMAND menu ids, the tray's clicks as
// its callback message, keys as real key presses.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

TEST(MessageWindowUse, PagingThroughTheLogAndTheTrayToggle) {
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

TEST(MessageWindowUse, WindowHidesAfterMessageTimeUnlessInForeground) {
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

TEST(MessageWindowUse, CopyScrollBarAndTheKeysThatHide) {
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

TEST(MessageWindowUse, KeysMoveTheFocusInTheMessageWindowAndRunItsCommands) {
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
TEST(MessageWindowUse, ColorFromTheSettingsPaintsTheWindow) {
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

}  // namespace
}  // namespace vantor::e2e
