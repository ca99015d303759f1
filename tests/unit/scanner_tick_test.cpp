// The scanner tick on the virtual clock: hot-key priorities, the 300 ms repeat and its
// release marker, and the full pass every 3000 ms.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "watcher/scanner.h"
#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

// The user works in a Yes/No dialog of thread 5 whose program has an edit control focused.
struct KeyScene {
    KeyScene() {
        dialog = desk.ws.AddTopLevel("#32770", "Question", 5);
        desk.ws.AddChild(dialog, "Static", "Save?");
        desk.ws.AddChild(dialog, "Button", "&Yes");
        no = desk.ws.AddChild(dialog, "Button", "&No");
        const WindowHandle editor = desk.ws.AddTopLevel("Notepad", "Editor", 5);
        edit = desk.ws.AddChild(editor, "Edit", "Abc");
        list = desk.ws.AddChild(editor, "ListBox", "");
        desk.ws.Window(edit).selStart = desk.ws.Window(edit).selEnd = 1;
        desk.ws.SetFocus(5, edit);
        desk.ws.SetForeground(dialog);
    }
    Desk desk;
    WindowHandle dialog = 0, no = 0, edit = 0, list = 0;
};

TEST(ScannerTick, HotKeyPriorities) {
    struct Row {
        const char* name;
        std::vector<int> keys;
        bool closeYesNo, changeCase, selectAll;
        bool focusList;
        std::vector<std::string> sent;  // "{no}" and "{edit}" stand for the handles
        std::int32_t caseTick;          // LastCaseChangeTick after the tick (-1: the clock)
    };
    using namespace vk;
    const std::vector<Row> rows = {
        {"Esc first",
         {kEscape, kMenu, kUp, kControl, kA},
         true,
         true,
         true,
         false,
         {"BM_CLICK {no}"},
         0},
        {"Esc option off: Alt+Up",
         {kEscape, kMenu, kUp},
         false,
         true,
         true,
         false,
         {"EM_SETSEL {edit} 0 3", "EM_REPLACESEL {edit} 'ABC'", "EM_SETSEL {edit} 1 1"},
         -1},
        {"Alt+Up over Ctrl+A",
         {kMenu, kUp, kControl, kA},
         true,
         true,
         true,
         false,
         {"EM_SETSEL {edit} 0 3", "EM_REPLACESEL {edit} 'ABC'", "EM_SETSEL {edit} 1 1"},
         -1},
        {"Alt+Down",
         {kMenu, kDown},
         true,
         true,
         true,
         false,
         {"EM_SETSEL {edit} 0 3", "EM_REPLACESEL {edit} 'abc'", "EM_SETSEL {edit} 1 1"},
         -1},
        {"Ctrl+A", {kControl, kA}, true, true, true, false, {"EM_SETSEL {edit} 0 -1"}, 0},
        {"Ctrl+A with case change off",
         {kControl, kA},
         true,
         false,
         true,
         false,
         {"EM_SETSEL {edit} 0 -1"},
         0},
        {"Ctrl+A with select-all off", {kControl, kA}, true, true, false, false, {}, 0},
        {"Ctrl+A in a list box", {kControl, kA}, true, true, true, true, {}, 0},
        {"Alt+Up in a list box", {kMenu, kUp}, true, true, true, true, {}, 0},
        {"Alt+Up with case change off", {kMenu, kUp}, true, false, true, false, {}, 0x7FFF},
        {"Alt alone", {kMenu}, true, true, true, false, {}, 0x7FFF},
        {"Up alone", {kUp}, true, true, true, false, {}, 0x7FFF},
        {"Ctrl alone", {kControl}, true, true, true, false, {}, 0x7FFF},
        {"nothing held, select-all off", {}, true, true, false, false, {}, 0},
    };
    for (const auto& row : rows) {
        KeyScene s;
        s.desk.options.closeYesNo = row.closeYesNo;
        s.desk.options.changeCase = row.changeCase;
        s.desk.options.selectAll = row.selectAll;
        if (row.focusList) s.desk.ws.SetFocus(5, s.list);
        for (int key : row.keys) s.desk.ws.Hold(key);
        Scanner scanner(s.desk.ws, s.desk.lists, s.desk.sink, s.desk.options, s.desk.texts);
        scanner.ScannerTick();
        std::vector<std::string> sent;
        for (std::string line : row.sent) {
            for (auto [slot, h] : {std::pair{"{no}", s.no}, std::pair{"{edit}", s.edit}}) {
                const auto at = line.find(slot);
                if (at != std::string::npos)
                    line.replace(at, std::string(slot).size(), std::to_string(h));
            }
            sent.push_back(line);
        }
        EXPECT_EQ(s.desk.ws.Commands(), sent) << row.name << "\n"
                                              << DumpSequences(sent, s.desk.ws.Commands());
        const std::int32_t caseTick =
            row.caseTick == -1 ? static_cast<std::int32_t>(s.desk.ws.Now()) : row.caseTick;
        EXPECT_EQ(scanner.LastCaseChangeTick(), caseTick) << row.name;
    }
}

// Ticks 50 ms apart; returns the indexes of the ticks that changed the edit's text.
std::vector<int> TicksThatChanged(KeyScene& s, Scanner& scanner, int ticks,
                                  const std::function<void(int)>& keysAt) {
    std::vector<int> changed;
    for (int i = 0; i < ticks; ++i) {
        keysAt(i);
        const std::string before = s.desk.ws.Window(s.edit).text;
        scanner.ScannerTick();
        if (s.desk.ws.Window(s.edit).text != before) changed.push_back(i);
        s.desk.ws.Advance(50);
    }
    return changed;
}

TEST(ScannerTick, CaseChangeRepeatsEvery300MsAndAtOnceAfterRelease) {
    struct Row {
        const char* name;
        bool selectAll;
        std::uint32_t start;
        std::vector<int> releasedAt;  // ticks with the keys up
        std::vector<int> changed;
    };
    const std::vector<Row> rows = {
        {"held down", true, 100000, {}, {0, 6, 12}},
        {"held across the clock's wrap", true, 0xFFFFFE00u, {}, {0, 6, 12}},
        {"released and pressed again: at once", true, 100000, {1}, {0, 2, 8}},
        {"select-all off: no release marker", false, 100000, {1}, {0, 6, 12}},
        {"released long enough", false, 100000, {1, 2, 3, 4, 5, 6, 7}, {0, 8}},
    };
    for (const auto& row : rows) {
        KeyScene s;
        s.desk.options.selectAll = row.selectAll;
        s.desk.ws.SetNow(row.start);
        s.desk.ws.Window(s.edit).text = "5";  // counts up by one per change
        s.desk.ws.Window(s.edit).selStart = s.desk.ws.Window(s.edit).selEnd = 1;
        s.desk.ws.SetForeground(s.desk.ws.Parent(s.edit));
        Scanner scanner(s.desk.ws, s.desk.lists, s.desk.sink, s.desk.options, s.desk.texts);
        const auto changed = TicksThatChanged(s, scanner, 13, [&](int i) {
            const bool up =
                std::find(row.releasedAt.begin(), row.releasedAt.end(), i) != row.releasedAt.end();
            if (up) {
                s.desk.ws.ReleaseAll();
            } else {
                s.desk.ws.Hold(vk::kMenu);
                s.desk.ws.Hold(vk::kUp);
            }
        });
        EXPECT_EQ(changed, row.changed) << row.name;
        EXPECT_EQ(s.desk.ws.Window(s.edit).text, std::to_string(5 + row.changed.size()))
            << row.name;
    }
}

TEST(ScannerTick, FullPassEvery3000Ms) {
    Desk desk;
    const WindowHandle editor = desk.ws.AddTopLevel("Notepad", "Editor");
    desk.ws.SetForeground(editor);
    const WindowHandle early = desk.AddMessageBox("Early", "in the background");
    Scanner scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    scanner.Reset();

    scanner.ScannerTick();  // the very first tick makes a full pass
    EXPECT_FALSE(desk.ws.Window(early).alive);
    EXPECT_EQ(scanner.LastFullScanTick(), desk.ws.Now());

    const WindowHandle late = desk.AddMessageBox("Late", "also in the background");
    for (int elapsed = 50; elapsed <= 3000; elapsed += 50) {
        desk.ws.Advance(50);
        scanner.ScannerTick();
        ASSERT_TRUE(desk.ws.Window(late).alive) << elapsed << " ms";
    }
    desk.ws.Advance(50);
    scanner.ScannerTick();  // 3050 ms: more than 3000
    EXPECT_FALSE(desk.ws.Window(late).alive);

    // In the foreground a box is closed by the next tick.
    const WindowHandle front = desk.AddMessageBox("Front", "now");
    desk.ws.SetForeground(front);
    desk.ws.Advance(50);
    scanner.ScannerTick();
    EXPECT_FALSE(desk.ws.Window(front).alive);
    EXPECT_EQ(desk.sink.calls.size(), 9u);  // countdown, log, show for each of the three
}

// A dialog ends hidden and goes only when its program's loop runs again: the pass in the
// same tick, and any later one, must not log it a second time; shown again, it is new.
TEST(ScannerTick, ABoxOnItsWayOutIsNotLoggedAgain) {
    Desk desk;
    const WindowHandle box = desk.AddMessageBox("Cap", "Disk full");
    FakeWindow& ok = desk.ws.Window(desk.ChildByText(box, "OK"));
    ok.clickClosesDialog = false;
    ok.clickHidesDialog = true;
    desk.ws.AddTopLevel("Other", "");
    desk.ws.SetForeground(box);
    Scanner scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    auto run = [&](int ticks) {
        for (int tick = 0; tick < ticks; ++tick) {
            scanner.ScannerTick();
            desk.ws.Advance(50);
        }
    };
    run(62);  // the foreground, then two full passes
    std::vector<std::string> expected = {"countdown", "log 'Cap' 'Disk full'",
                                         Msg("show", box, "'Cap' 'Disk full'")};
    EXPECT_EQ(desk.sink.calls, expected) << DumpSequences(expected, desk.sink.calls);
    desk.ws.Window(box).visible = true;
    run(62);
    const std::vector<std::string> once = expected;
    expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(desk.sink.calls, expected) << DumpSequences(expected, desk.sink.calls);
}

// A dialog whose program ignores the click stays with the same text: its message is logged
// and shown once, and only the click is tried again, not a log entry every tick, nor again
// once many other boxes have been closed since.
TEST(ScannerTick, ADialogThatIgnoresTheClickIsLoggedOnce) {
    Desk desk;
    const WindowHandle box = desk.AddMessageBox("Cap", "Stuck");
    const WindowHandle ok = desk.ChildByText(box, "OK");
    desk.ws.Window(ok).clickClosesDialog = false;
    desk.ws.SetForeground(box);
    Scanner scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    int others = 0;
    for (int tick = 0; tick < 62; ++tick) {  // the foreground, then two full passes
        if (tick >= 3 && tick % 3 == 0 && others < 12) {
            desk.ws.SetForeground(desk.AddMessageBox("Other", "number " + std::to_string(others)));
            ++others;
        }
        scanner.ScannerTick();
        desk.ws.Advance(50);
    }
    EXPECT_EQ(std::count_if(desk.sink.calls.begin(), desk.sink.calls.end(),
                            [](const std::string& c) { return c.starts_with("log 'Other'"); }),
              12);
    const std::vector<std::string> expected = {"countdown", "log 'Cap' 'Stuck'",
                                               Msg("show", box, "'Cap' 'Stuck'")};
    EXPECT_EQ(std::count(desk.sink.calls.begin(), desk.sink.calls.end(), expected[1]), 1);
    EXPECT_EQ(std::count(desk.sink.calls.begin(), desk.sink.calls.end(), expected[2]), 1);
    const std::vector<std::string> commands = desk.ws.Commands();
    EXPECT_GT(std::count(commands.begin(), commands.end(), Msg("BM_CLICK", ok)), 1)
        << "the click is tried again";
}

// The pass every 3000 ms keeps its rhythm when the 32-bit tick count wraps (after 49.7 days).
TEST(ScannerTick, FullPassRhythmAcrossTheClocksWrap) {
    struct Row {
        const char* name;
        std::uint32_t start;
    };
    const std::vector<Row> rows = {
        {"ordinary clock", 100000},
        {"the wait runs across the wrap", 0xFFFFFA00u},
        {"the first pass ends on the last tick before the wrap", 0xFFFFFFFFu},
    };
    for (const auto& row : rows) {
        Desk desk;
        desk.ws.SetForeground(desk.ws.AddTopLevel("Notepad", "Editor"));
        desk.ws.SetNow(row.start);
        Scanner scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
        scanner.Reset();
        scanner.ScannerTick();  // the first pass
        ASSERT_EQ(scanner.LastFullScanTick(), row.start) << row.name;
        const WindowHandle box = desk.AddMessageBox("Late", "in the background");
        int closedAt = -1;
        for (int tick = 1; tick <= 70 && closedAt < 0; ++tick) {
            desk.ws.Advance(50);
            scanner.ScannerTick();
            if (!desk.ws.Window(box).alive) closedAt = tick;
        }
        EXPECT_EQ(closedAt, 61) << row.name;  // 3050 ms: the first tick past 3000
        EXPECT_EQ(scanner.LastFullScanTick(), row.start + 3050u) << row.name;
    }
}

TEST(ScannerTick, HelperTickSkipsAnalysisAndFullPass) {
    KeyScene s;
    const WindowHandle box = s.desk.AddMessageBox("Box", "background");
    Scanner scanner(s.desk.ws, s.desk.lists, s.desk.sink, s.desk.options, s.desk.texts);
    s.desk.ws.Hold(vk::kControl);
    s.desk.ws.Hold(vk::kA);
    scanner.ScannerTick();
    EXPECT_TRUE(s.desk.ws.Window(box).alive);
    EXPECT_EQ(scanner.LastFullScanTick(), 0u);
    s.desk.ws.ReleaseAll();
    s.desk.ws.Advance(50);
    scanner.ScannerTick();  // one tick late
    EXPECT_FALSE(s.desk.ws.Window(box).alive);
}

TEST(ScannerTick, YesNoInTheBackgroundIsNeverPressed) {
    KeyScene s;
    const WindowHandle editor = s.desk.ws.Parent(s.edit);
    s.desk.ws.SetForeground(editor);
    s.desk.ws.SetFocus(5, 0);
    s.desk.ws.Hold(vk::kEscape);
    Scanner scanner(s.desk.ws, s.desk.lists, s.desk.sink, s.desk.options, s.desk.texts);
    for (int i = 0; i < 130; ++i) {  // two full passes
        scanner.ScannerTick();
        s.desk.ws.Advance(50);
    }
    EXPECT_TRUE(s.desk.ws.Commands().empty()) << DumpSequences({}, s.desk.ws.Commands());
    s.desk.ws.SetForeground(s.dialog);
    scanner.ScannerTick();
    EXPECT_EQ(s.desk.ws.Commands(), std::vector<std::string>{Msg("BM_CLICK", s.no)});
}

TEST(ScannerTick, WhiteListedForegroundIsAnalysedAgainOnlyAfterAFullPass) {
    Desk desk;
    desk.SetList(ListKind::White, {"keep"});
    const WindowHandle kept = desk.AddMessageBox("Cap", "keep me");
    desk.ws.AddTopLevel("Other", "");
    desk.ws.SetForeground(kept);
    Scanner scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    std::vector<int> countdowns;
    for (int i = 0; i < 70; ++i) {
        const std::size_t before = desk.sink.calls.size();
        scanner.ScannerTick();
        if (desk.sink.calls.size() != before) countdowns.push_back(i);
        desk.ws.Advance(50);
    }
    // Tick 0 analyses it and the pass moves on to the other window; tick 1 analyses it
    // again; then only after the pass at 3050 ms.
    EXPECT_EQ(countdowns, (std::vector<int>{0, 1, 62}));
    EXPECT_TRUE(desk.ws.Window(kept).alive);
}

// The GUI thread replaces the language and the lists while the timer thread ticks.
TEST(ScannerThreaded, ListsAndTextsReplacedWhileTicking) {
    Desk desk;
    Scanner scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    std::atomic<bool> stop{false};
    std::thread gui([&] {
        for (int i = 0; !stop.load(); ++i) {
            RunTexts texts;
            texts.ssOK = (i % 2) ? "OK" : "\xCE\xCA";
            desk.texts.Set(texts);
            desk.lists.Get(ListKind::White).Publish({"white " + std::to_string(i)});
            desk.lists.Get(ListKind::Replace).Publish({"Box*|Box " + std::to_string(i % 3)});
            std::this_thread::yield();
        }
    });
    int closed = 0;
    for (int i = 0; i < 300; ++i) {
        const WindowHandle box = desk.AddMessageBox("Box", "text " + std::to_string(i));
        desk.ws.SetForeground(box);
        scanner.ScannerTick();
        closed += desk.ws.Window(box).alive ? 0 : 1;
        desk.ws.Advance(50);
    }
    stop = true;
    gui.join();
    EXPECT_EQ(closed, 300);  // "OK" is always recognised, whatever the language word
}

}  // namespace
}  // namespace vantor::testing
