// e2e-timeout: 180
// The message window of a running vantor.exe as the user sees it: its opacity (read back
// from the window manager), its place over the closed dialog, the text area filling a window
// without buttons, the Close button counting down, the "Close on" mouse actions, and a size
// the window manager corrects during start-up that is not taken for the user's choice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

// The window's opacity as the window manager holds it: 255 when it is not layered.
int OpacityOf(HWND window) {
    if (!(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
    BYTE alpha = 0;
    DWORD flags = 0;
    COLORREF key = 0;
    if (!GetLayeredWindowAttributes(window, &key, &alpha, &flags)) return -1;
    return (flags & LWA_ALPHA) ? alpha : -2;
}

// Shows a box of another program and waits until Vantor has closed it and shows it.
bool ShowAndClose(Vantor& vantor, const std::string& caption,
                  const std::vector<std::string>& place = {}) {
    std::vector<std::string> args = {caption, caption + " text", "0x40"};
    args.insert(args.end(), place.begin(), place.end());
    Process box = Process::Start(ToolPath("show_message_box"), args);
    return box.WaitExit(5000) == std::optional<DWORD>(IDOK) &&
           WaitUntil([&] { return vantor.Visible() && vantor.Caption() == caption; }, 3000);
}

bool Click(const char* how, HWND window) {
    const std::vector<std::string> at = At(window);
    return Press({how, at[0], at[1]});
}

TEST(MessageWindow, AutomaticMessagesAreTranslucentCommandsOpaqueDoubleClickHides) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\ncbClose=2\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    ASSERT_TRUE(ShowAndClose(vantor, "opacity e2e"));
    EXPECT_EQ(OpacityOf(vantor.Window()), 222);
    vantor.CommandAndWait(kCmdLastMessage);
    EXPECT_EQ(OpacityOf(vantor.Window()), 255) << "a command shows the window opaque";

    // "Close on" double click: a single click leaves it, a double click hides it.
    ASSERT_TRUE(Click("click", vantor.TextArea()));
    Sleep(400);
    EXPECT_TRUE(vantor.Visible()) << "hidden by a single click";
    ASSERT_TRUE(Click("dblclick", vantor.TextArea()));
    EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 2000));
}

TEST(MessageWindow, CentredOverTheDialogCountingDownAndClickHides) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini",
                   "[Main]\r\nMessageTransparent=300\r\nNoCenter=0\r\nIsTimer=1\r\n"
                   "MessageTime=2\r\ncbClose=1\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    // A 400 x 160 box at 300, 200: centred, the 230 x 100 window goes to 385, 230.
    ASSERT_TRUE(ShowAndClose(vantor, "centred e2e", {"300", "200", "400", "160"}));
    const DWORD shown = GetTickCount();
    RECT r = WindowRectOf(vantor.Window());
    EXPECT_EQ(RectText(r), RectText({385, 230, 385 + 230, 230 + 100}));
    EXPECT_EQ(OpacityOf(vantor.Window()), 44) << "300 acts as its low eight bits";

    // No button is visible, so the text area fills the window but for a one-pixel border.
    for (int id : {kBtCopy, kBtClose, kBtExit}) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(vantor.Window(), id))) << id;
    }
    RECT client = {};
    GetClientRect(vantor.Window(), &client);
    MapWindowPoints(vantor.Window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(RectText(WindowRectOf(vantor.TextArea())),
              RectText({client.left + 1, client.top + 1, client.right - 1, client.bottom - 1}));

    // The Close button (hidden, but its caption is kept) counts the two seconds down, and the
    // window hides on the tick after "Close (1)".
    HWND close = GetDlgItem(vantor.Window(), kBtClose);
    std::vector<std::string> captions;
    WaitUntil(
        [&] {
            const std::string now = TextOf(close);
            if (captions.empty() || captions.back() != now) captions.push_back(now);
            return !vantor.Visible();
        },
        5000, 20);
    EXPECT_FALSE(vantor.Visible());
    const DWORD hidden = GetTickCount() - shown;
    EXPECT_GE(hidden, 1800u);
    EXPECT_LE(hidden, 4000u);
    std::string seen;
    for (const auto& c : captions) seen += "[" + c + "]";
    EXPECT_NE(seen.find("[Close (2)][Close (1)]"), std::string::npos) << seen;

    // Near the screen's right edge the window is pulled back into the work area; only that
    // edge moves it. A 200 x 100 box at 1150, 300 would centre it at 1135, 300.
    ASSERT_TRUE(ShowAndClose(vantor, "edge e2e", {"1150", "300", "200", "100"}));
    r = WindowRectOf(vantor.Window());
    EXPECT_EQ(r.right, WorkArea().right) << RectText(r);
    EXPECT_EQ(r.top, 300) << RectText(r);

    // "Close on" click.
    vantor.CommandAndWait(kCmdLastMessage);
    ASSERT_TRUE(vantor.Visible());
    ASSERT_TRUE(Click("click", vantor.TextArea()));
    EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 2000));
}

TEST(MessageWindow, ASizeCorrectedAtStartIsNotStoredAndRightClickHides) {
    const std::string folder = FreshFolder();
    const std::string ini = folder + "Vantor.ini";
    WriteFileBytes(ini, "[Main]\r\ncbClose=3\r\nWidth=20\r\nHeight=150\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    // A window with a sizing frame cannot be 20 pixels wide: the window manager widens it
    // while the program starts, before it records size changes.
    const RECT r = WindowRectOf(vantor.Window());
    ASSERT_GT(r.right - r.left, 20) << "the window manager kept the width; nothing to test";
    EXPECT_EQ(r.bottom - r.top, 150);
    // A second start reads and writes back the keys without showing anything.
    Process second = Process::Start(vantor.Exe(), {}, folder);
    ASSERT_TRUE(second.WaitExit(15000).has_value());
    EXPECT_EQ(ReadIntKey(ini, "Width"), 20);
    EXPECT_EQ(ReadIntKey(ini, "Height"), 150);

    // The second start called the window up; "Close on" right click.
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 3000));
    ASSERT_TRUE(Click("click", vantor.TextArea()));
    Sleep(400);
    EXPECT_TRUE(vantor.Visible()) << "hidden by a left click";
    ASSERT_TRUE(Click("rclick", vantor.TextArea()));
    EXPECT_TRUE(WaitUntil([&] { return !vantor.Visible(); }, 2000));
    Sleep(300);
    EXPECT_EQ(OpenMenuOf(vantor.Proc().Id()), nullptr) << "a menu opened for the hidden window";
}

}  // namespace
}  // namespace vantor::e2e
