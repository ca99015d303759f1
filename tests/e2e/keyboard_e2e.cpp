// e2e-timeout: 180
// Keys and mouse buttons as a user presses them (SendInput from another process) against a
// running vantor.exe: its keyboard helpers at work in another program's edit control, which
// must keep the foreground and its focus press after press; the text menu and the tray
// menu of the message window. One vantor.exe serves every case.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

constexpr UINT kAskYesNo = WM_APP + 1;  // watcher_probe_window's question and its answer
constexpr UINT kYesNoAnswer = WM_APP + 2;

class Keyboard : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::string folder = FreshFolder("keyboard");
        WriteFileBytes(folder + "Vantor.ini",
                       "[Main]\r\ncbChangeCase=1\r\ncbChangeCaseFirst=1\r\ncbSelectAll=1\r\n"
                       "cbCloseYesNo=1\r\n");
        vantor_ = std::make_unique<Vantor>(folder, Vantor::kSystemBoxes);
        started_ = vantor_->Start();
    }
    static void TearDownTestSuite() { vantor_.reset(); }
    void SetUp() override { ASSERT_TRUE(started_) << "vantor.exe did not start"; }

    static std::unique_ptr<Vantor> vantor_;
    static bool started_;
};
std::unique_ptr<Vantor> Keyboard::vantor_;
bool Keyboard::started_ = false;

// Who has the foreground, and the active and focus windows of the window's own thread as
// that thread's input state holds them (read without attaching to it).
struct InputState {
    HWND foreground, active, focus;
};
InputState InputOf(HWND top) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info);
    return {GetForegroundWindow(), info.hwndActive, info.hwndFocus};
}
std::string Describe(const InputState& s) {
    auto name = [](HWND w) { return w ? ClassNameOf(w) : std::string("none"); };
    return "foreground " + name(s.foreground) + ", active " + name(s.active) + ", focus " +
           name(s.focus);
}

struct EditState {
    std::string text;
    DWORD start, end;
    bool operator==(const EditState&) const = default;
};
EditState StateOf(HWND edit) {
    const DWORD_PTR sel = Ask(edit, EM_GETSEL, 0, 0);
    return {TextOf(edit), LOWORD(sel), HIWORD(sel)};
}
std::string Describe(const EditState& s) {
    return "'" + s.text + "' " + std::to_string(s.start) + ".." + std::to_string(s.end);
}

// A popup menu opens with a corner at its point, or, near the screen's edges, moved
// just enough to fit on the screen: either way it covers the point (give or take a pixel).
bool Covers(const RECT& menu, LONG x, LONG y) {
    return x >= menu.left - 2 && x <= menu.right + 2 && y >= menu.top - 2 && y <= menu.bottom + 2;
}

// True when window a lies above window b in the z-order.
bool Above(HWND a, HWND b) {
    for (HWND w = GetWindow(b, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV)) {
        if (w == a) return true;
    }
    return false;
}

// Each row: what the test sets up in the other program's edit control (nothing when `text`
// is null), the keys pressed, and the control afterwards. Rows run in order on one control;
// after each, that program must still be in the foreground with the focus in its control.
TEST_F(Keyboard, HelpersLeaveTheOtherProgramItsFocusPressAfterPress) {
    Process target = Process::Start(ToolPath("watcher_probe_window"), {"edit", "hello world"});
    ASSERT_TRUE(target.Started()) << target.Error();
    HWND top = WaitForTopLevelWindow({"Watcher\tProbe", std::nullopt, target.Id()}, 10000);
    ASSERT_NE(top, nullptr) << DescribeTopLevelWindows(target.Id());
    HWND edit = FindChild(top, "Edit");
    const auto settled = [&] {
        const InputState s = InputOf(top);
        return s.foreground == top && s.active == top && s.focus == edit;
    };
    ASSERT_TRUE(WaitUntil(settled, 5000)) << Describe(InputOf(top));

    struct Row {
        const char* what;
        const char* text;  // set first, with the selection below; null: go on as it is
        DWORD setStart, setEnd;
        const char* keys;
        EditState after;
    };
    const Row rows[] = {
        {"Alt+Up, first letters", "hello world", 0, 11, "alt+up", {"Hello World", 0, 11}},
        {"Alt+Up again", nullptr, 0, 0, "alt+up", {"HELLO WORLD", 0, 11}},
        {"Alt+Down", nullptr, 0, 0, "alt+down", {"hello world", 0, 11}},
        {"Alt+Up counts at the caret", "total 99", 8, 8, "alt+up", {"total 100", 9, 9}},
        {"Alt+Up again", nullptr, 0, 0, "alt+up", {"total 101", 9, 9}},
        {"Alt+Down", nullptr, 0, 0, "alt+down", {"total 100", 9, 9}},
        {"Alt+Down again", nullptr, 0, 0, "alt+down", {"total 99", 8, 8}},
        {"Ctrl+A", nullptr, 0, 0, "ctrl+a", {"total 99", 0, 8}},
        {"Ctrl+A again", "total 99", 3, 3, "ctrl+a", {"total 99", 0, 8}},
    };
    for (const Row& row : rows) {
        if (row.text) {
            Ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(row.text));
            Ask(edit, EM_SETSEL, row.setStart, row.setEnd);
        }
        ASSERT_TRUE(Press({row.keys})) << row.what;
        EXPECT_TRUE(WaitUntil([&] { return StateOf(edit) == row.after; }, 2000))
            << row.what << ": " << Describe(StateOf(edit)) << ", expected " << Describe(row.after);
        EXPECT_TRUE(settled()) << row.what << ": " << Describe(InputOf(top));
        Sleep(100);  // still so a moment later
        EXPECT_TRUE(settled()) << row.what << ": " << Describe(InputOf(top));
    }

    // Esc on the program's Yes/No question (which ignores Esc itself) presses No; the
    // program gets its window and its focus back.
    for (int i = 0; i < 2; ++i) {
        PostMessageA(top, kAskYesNo, 0, 0);
        HWND question = WaitForTopLevelWindow(
            {"#32770", std::string("Watcher probe question"), target.Id()}, 5000);
        ASSERT_NE(question, nullptr) << DescribeTopLevelWindows(target.Id());
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == question; }, 3000));
        ASSERT_TRUE(Press({"esc"}));
        EXPECT_TRUE(WaitForWindowGone(question, 3000)) << "question " << i << " still open";
        EXPECT_EQ(Ask(top, kYesNoAnswer, 0, 0), static_cast<DWORD_PTR>(IDNO)) << i;
        EXPECT_TRUE(WaitUntil(settled, 2000)) << "question " << i << ": " << Describe(InputOf(top));
    }
    EXPECT_TRUE(Ask(top, WM_CLOSE, 0, 0) == 0 && target.WaitExit(5000).has_value());
}

// The text menu opens from the keyboard and the mouse and its items work; the one-second
// raise keeps the window above other topmost windows, but is off while a menu is open.
TEST_F(Keyboard, MessageWindowMenus) {
    Vantor& vantor = *vantor_;
    for (int i = 0; i < 2; ++i) {
        Process box = ShowBox("page " + std::to_string(i), "text " + std::to_string(i));
        ASSERT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK)) << i;
    }
    vantor.CommandAndWait(kCmdLastMessage);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == vantor.Window(); }, 3000));
    ASSERT_EQ(vantor.Text(), "text 1");
    HWND text = vantor.TextArea();
    ASSERT_TRUE(WaitUntil([&] { return InputOf(vantor.Window()).focus == text; }, 2000));

    // "Close on" is "Only auto" here: a click into the text leaves the window up.
    ASSERT_TRUE(Press({"click", At(text)[0], At(text)[1]}));
    Sleep(300);
    EXPECT_TRUE(vantor.Visible());

    // From the keyboard the text menu opens at the text, wherever the pointer is; Esc
    // closes it.
    const DWORD pid = vantor.Proc().Id();
    SetCursorPos(10, 10);
    ASSERT_TRUE(Press({"apps"}));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = OpenMenuOf(pid)) != nullptr; }, 3000));
    const RECT area = WindowRectOf(text);
    const RECT fromKeys = WindowRectOf(menu);
    RECT common;
    EXPECT_TRUE(IntersectRect(&common, &fromKeys, &area))
        << "menu " << RectText(fromKeys) << ", text area " << RectText(area);
    ASSERT_TRUE(Press({"esc"}));
    EXPECT_TRUE(WaitUntil([&] { return OpenMenuOf(pid) == nullptr; }, 3000));
    EXPECT_TRUE(vantor.Visible()) << "Esc in the menu hid the window";

    // From the mouse it opens at the pointer; its first item is "Previous message".
    const std::vector<std::string> point = At(text);
    ASSERT_TRUE(Press({"rclick", point[0], point[1]}));
    ASSERT_TRUE(WaitUntil([&] { return (menu = OpenMenuOf(pid)) != nullptr; }, 3000));
    const RECT fromMouse = WindowRectOf(menu);
    EXPECT_TRUE(Covers(fromMouse, std::stoi(point[0]), std::stoi(point[1])))
        << "menu " << RectText(fromMouse) << ", pointer " << point[0] << "," << point[1];
    ASSERT_TRUE(Press({"down", "enter"}));
    EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == "text 0"; }, 2000)) << vantor.Text();

    // Shown by a command, the window is raised every second above other topmost windows.
    const RECT fmRect = WindowRectOf(vantor.Window());
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "cover e2e",
                                 WS_POPUP | WS_VISIBLE, fmRect.left, fmRect.top, 100, 60, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    // The window's own raise may come just as the cover appears: put the cover on top until
    // it holds there, then see the raise lift the window over it again.
    ASSERT_TRUE(WaitUntil(
        [&] {
            SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return Above(cover, vantor.Window());
        },
        3000));
    EXPECT_TRUE(WaitUntil([&] { return Above(vantor.Window(), cover); }, 2500))
        << "the message window was not raised";
    // The tray menu opens under the pointer, over the window. While it is open the window is
    // not raised, so it cannot cover the menu. (Whether the menu itself is above the window
    // is not checked: under Wine a window's earlier raise or activation can reach the X
    // server's stacking after the menu has opened and lift the window over it.)
    SetCursorPos(std::stoi(At(vantor.Window())[0]), std::stoi(At(vantor.Window())[1]));
    vantor.Tray(WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return (menu = OpenMenuOf(pid)) != nullptr; }, 3000));
    RECT overlap;
    const RECT menuRect = WindowRectOf(menu);
    ASSERT_TRUE(IntersectRect(&overlap, &menuRect, &fmRect))
        << "menu " << RectText(menuRect) << " beside the window " << RectText(fmRect);
    Sleep(300);
    SetWindowPos(cover, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Sleep(2500);
    ASSERT_TRUE(vantor.Visible() && IsWindowVisible(menu));
    EXPECT_TRUE(Above(cover, vantor.Window())) << "raised while the tray menu was open";
    ASSERT_TRUE(Press({"esc"}));
    EXPECT_TRUE(WaitUntil([&] { return OpenMenuOf(pid) == nullptr; }, 3000));
    DestroyWindow(cover);
}

}  // namespace
}  // namespace vantor::e2e
