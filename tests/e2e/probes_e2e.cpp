// The watcher's Windows window system against real windows of other processes: message
// boxes read, closed and answered by the engine, an edit control driven from outside, an
// odd class name, the focus of another program, and a program that stops answering.
// e2e-timeout: 150
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "lists/list_files.h"
#include "recording_sink.h"
#include "ui/spy.h"
#include "watcher/advanced_list.h"
#include "watcher/dialog_closer.h"
#include "watcher/keyboard_helpers.h"
#include "watcher/window_readings.h"
#include "watcher/window_system_win32.h"

namespace vantor::e2e {
namespace {

WindowHandle Handle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

using vantor::testing::RecordingSink;

class AllOn : public LiveOptions {
  public:
    bool Autoclose() const override { return true; }
    bool ChangeCase() const override { return true; }
    bool ChangeCaseFirst() const override { return false; }
    bool SelectAll() const override { return true; }
    bool CloseYesNo() const override { return true; }
};

// The engine's collaborators with the built-in class lists and this system's button words.
struct Engine {
    Engine() {
        lists.Get(ListKind::Button).Publish(LoadClassList("Button.ini", std::nullopt));
        lists.Get(ListKind::Static).Publish(LoadClassList("Static.ini", std::nullopt));
        lists.Get(ListKind::Edit).Publish(LoadClassList("Edit.ini", std::nullopt));
        if (RussianSystem()) {
            RunTexts russian;
            russian.ssOK = "\xCE\xCA";
            russian.ssYes = "\xC4\xC0";
            russian.ssNo = "\xCD\xC5\xD2";
            texts.Set(russian);
        }
    }
    Win32WindowSystem ws;
    ProgramLists lists;
    RecordingSink sink;
    AllOn options;
    SharedRunTexts texts;
    DialogCloser closer{ws, lists, sink, options, texts};
};

TEST(Probes, MessageBoxIsReadClosedAndLogged) {
    Process box =
        Process::Start(ToolPath("show_message_box"), {"Probe box", "Line one\\nLine two", "0x40"});
    ASSERT_TRUE(box.Started()) << box.Error();
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("Probe box"), box.Id()}, 10000);
    ASSERT_NE(dialog, nullptr) << DescribeTopLevelWindows(box.Id());

    Engine engine;
    const WindowHandle w = Handle(dialog);
    EXPECT_EQ(WindowClassName(engine.ws, w), "#32770");
    EXPECT_EQ(WindowCaption(engine.ws, w), "Probe box");
    const ChildListing listing = ListChildren(engine.ws, w, w);
    std::vector<std::string> seen;
    for (const auto& child : listing.children) seen.push_back(child.cls + "=" + child.text);
    EXPECT_EQ(seen, (std::vector<std::string>{"Static=", "Button=" + SystemOkText(),
                                              "Static=Line one#10Line two"}));
    // Every record names its own window.
    ASSERT_EQ(listing.children.size(), 3u);
    EXPECT_EQ(listing.children[1].handle, Handle(FindChild(dialog, "Button")));
    EXPECT_EQ(ControlText(engine.ws, listing.children[2].handle), "Line one\nLine two");

    engine.closer.ExamineWindow(w, false);
    EXPECT_EQ(engine.sink.calls,
              (std::vector<std::string>{"countdown", "log 'Probe box' 'Line one\r\nLine two'",
                                        "show " + std::to_string(w) +
                                            " 'Probe box' 'Line one\r\nLine two'"}));
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
}

// With the window events watched, the watcher's ticks still see a box of another program
// come to the front, and see what follows it when it is gone.
TEST(Probes, WatchedForegroundFollowsABoxOfAnotherProgram) {
    Engine engine;
    // The window events come to this thread's queue: each look below pumps it first.
    ASSERT_TRUE(engine.ws.WatchForegroundChanges());
    auto tickForeground = [&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        engine.ws.BeginTick();
        const WindowHandle w = engine.ws.ForegroundWindow();
        engine.ws.EndTick();
        return w;
    };
    Process box = Process::Start(ToolPath("show_message_box"), {"Probe front", "Here", "0x40"});
    ASSERT_TRUE(box.Started()) << box.Error();
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("Probe front"), box.Id()}, 10000);
    ASSERT_NE(dialog, nullptr) << DescribeTopLevelWindows(box.Id());
    EXPECT_TRUE(WaitUntil([&] { return tickForeground() == Handle(dialog); }, 3000))
        << "seen " << tickForeground() << ", the system says " << GetForegroundWindow();

    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
    // Whatever comes to the front next (here the taskbar), with or without an event, the
    // ticks see it within the quarter-second recheck.
    const auto system = [] {
        const HWND w = GetForegroundWindow();
        return Handle(w == GetDesktopWindow() ? nullptr : w);
    };
    EXPECT_TRUE(WaitUntil([&] { return tickForeground() == system(); }, 3000))
        << "seen " << tickForeground() << ", the system says " << system();
    EXPECT_NE(tickForeground(), Handle(dialog));
    engine.ws.StopWatchingForegroundChanges();
}

TEST(Probes, YesNoGetsNoOnlyWithEsc) {
    Process box = Process::Start(ToolPath("show_message_box"), {"Probe yes-no", "Go on?", "0x24"});
    ASSERT_TRUE(box.Started()) << box.Error();
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("Probe yes-no"), box.Id()}, 10000);
    ASSERT_NE(dialog, nullptr) << DescribeTopLevelWindows(box.Id());

    Engine engine;
    engine.closer.ExamineWindow(Handle(dialog), false);
    EXPECT_FALSE(box.WaitExit(300).has_value()) << "closed without Esc";
    engine.closer.ExamineWindow(Handle(dialog), true);
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDNO));
    EXPECT_TRUE(engine.sink.calls.empty());
}

TEST(Probes, EditControlOfAnotherProgram) {
    Process tool = Process::Start(ToolPath("watcher_probe_window"), {"edit", "the quick fox"});
    ASSERT_TRUE(tool.Started()) << tool.Error();
    HWND top = WaitForTopLevelWindow({"Watcher\tProbe", std::nullopt, tool.Id()}, 10000);
    ASSERT_NE(top, nullptr) << DescribeTopLevelWindows(tool.Id());
    HWND editWindow = FindChild(top, "Edit");
    ASSERT_NE(editWindow, nullptr);

    Engine engine;
    Win32WindowSystem& ws = engine.ws;
    const WindowHandle edit = Handle(editWindow);
    EXPECT_EQ(WindowClassName(ws, Handle(top)), "Watcher#9Probe");
    // The other program sets its focus right after showing its window.
    WindowHandle focus = 0;
    EXPECT_TRUE(
        WaitUntil([&] { return (focus = FocusedControlOf(ws, Handle(top))) == edit; }, 3000))
        << "focus " << focus << " (" << ClassNameOf(reinterpret_cast<HWND>(focus)) << ")";
    EXPECT_EQ(ControlText(ws, edit), "the quick fox");

    std::int32_t start = -1, end = -1;
    ASSERT_TRUE(ws.SetSelection(edit, 4, 9));
    ASSERT_TRUE(ws.GetSelection(edit, start, end));
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 9);
    ASSERT_TRUE(ws.ReplaceSelection(edit, "QUICK"));
    EXPECT_EQ(ControlText(ws, edit), "the QUICK fox");

    // The word at the caret, back to lower case, the caret left where it was.
    ws.SetSelection(edit, 6, 6);
    ChangeCaseAtCaret(ws, edit, ControlText(ws, edit), false, false);
    EXPECT_EQ(ControlText(ws, edit), "the quick fox");
    ASSERT_TRUE(ws.GetSelection(edit, start, end));
    EXPECT_EQ(start, 6);
    EXPECT_EQ(end, 6);
    // Counting a number at the caret's end keeps the caret at the end.
    ws.SetSelection(edit, 0, -1);
    ws.ReplaceSelection(edit, "total 99");
    ws.SetSelection(edit, 8, 8);
    ChangeCaseAtCaret(ws, edit, ControlText(ws, edit), true, false);
    EXPECT_EQ(ControlText(ws, edit), "total 100");
    ASSERT_TRUE(ws.GetSelection(edit, start, end));
    EXPECT_EQ(start, 9);

    SelectAllText(ws, edit);
    ASSERT_TRUE(ws.GetSelection(edit, start, end));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 9);

    EXPECT_TRUE(ws.SysCommand(Handle(top), kScClose));
    EXPECT_EQ(tool.WaitExit(5000), std::optional<DWORD>(0));
}

TEST(Probes, AProgramThatStopsAnsweringCostsAtMostTheBoundedWait) {
    Process tool = Process::Start(ToolPath("watcher_probe_window"), {"hang", "frozen text"});
    ASSERT_TRUE(tool.Started()) << tool.Error();
    HWND top = WaitForTopLevelWindow({"Watcher\tProbe", std::nullopt, tool.Id()}, 10000);
    ASSERT_NE(top, nullptr) << DescribeTopLevelWindows(tool.Id());
    HWND editWindow = FindChild(top, "Edit");
    ASSERT_NE(editWindow, nullptr);
    Sleep(200);  // the tool is now asleep in its only thread

    Engine engine;
    struct Step {
        const char* name;
        std::function<bool()> run;  // true when the result is the "no answer" one
    };
    const WindowHandle edit = Handle(editWindow);
    const std::vector<Step> steps = {
        {"ControlText", [&] { return ControlText(engine.ws, edit).empty(); }},
        {"BM_CLICK", [&] { return !engine.ws.Click(edit); }},
        {"BM_GETCHECK", [&] { return engine.ws.GetCheck(edit) == kNoAnswer; }},
        {"EM_GETSEL",
         [&] {
             std::int32_t s = 0, e = 0;
             return !engine.ws.GetSelection(edit, s, e);
         }},
        {"listing",
         [&] {
             return ListingText(ListChildren(engine.ws, Handle(top), Handle(top))) == "Edit=\r\n";
         }},
    };
    for (const auto& step : steps) {
        const DWORD before = GetTickCount();
        EXPECT_TRUE(step.run()) << step.name;
        const DWORD took = GetTickCount() - before;
        EXPECT_LT(took, 2500u) << step.name << " took " << took << " ms";
    }
    // The caption comes from the window manager, not from the frozen program.
    EXPECT_EQ(WindowCaption(engine.ws, Handle(top)), "Watcher probe hang");

    // Meanwhile every other program is served as before, without waiting.
    Process other = Process::Start(ToolPath("watcher_probe_window"), {"edit", "still here"});
    ASSERT_TRUE(other.Started()) << other.Error();
    HWND otherTop = WaitForTopLevelWindow({"Watcher\tProbe", std::nullopt, other.Id()}, 10000);
    ASSERT_NE(otherTop, nullptr);
    const DWORD before = GetTickCount();
    EXPECT_EQ(ControlText(engine.ws, Handle(FindChild(otherTop, "Edit"))), "still here");
    EXPECT_LT(GetTickCount() - before, 500u);
    EXPECT_TRUE(engine.ws.SysCommand(Handle(otherTop), kScClose));
    EXPECT_EQ(other.WaitExit(5000), std::optional<DWORD>(0));
    tool.Kill();
}

}  // namespace
}  // namespace vantor::e2e

namespace vantor::e2e {
namespace {

TEST(Probes, SleepsEndAtOnceAfterCancelSleeps) {
    Win32WindowSystem ws;
    DWORD before = GetTickCount();
    EXPECT_TRUE(ws.Sleep(150));
    EXPECT_GE(GetTickCount() - before, 100u) << "a plain sleep waits";
    ws.CancelSleeps();  // Disable or Exit
    before = GetTickCount();
    EXPECT_FALSE(ws.Sleep(10000));
    EXPECT_FALSE(ws.Sleep(10000));
    EXPECT_LT(GetTickCount() - before, 1000u) << "after the cancel no sleep holds the thread";
    ws.ResumeSleeps();  // enabled again
    EXPECT_TRUE(ws.Sleep(50));
}

}  // namespace
}  // namespace vantor::e2e
