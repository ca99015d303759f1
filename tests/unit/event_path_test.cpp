// The event path's engine side against the fake: which new windows get an early look, how
// the ticks behave after one, and what the sender remembers of other programs' answers.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "watcher/answer_memo.h"
#include "watcher/new_window_watch.h"
#include "watcher/scanner.h"
#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

using Children = std::vector<std::pair<std::string, std::string>>;  // class, text

// The user works in an editor; the first tick (with its full pass) is behind us.
struct EventScene {
    EventScene() : scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts) {
        editor = desk.ws.AddTopLevel("Notepad", "Editor", 3);
        desk.ws.SetForeground(editor);
        scanner.Reset();
        scanner.ScannerTick();
        desk.ws.Advance(50);
    }
    // Another program's dialog appears; OK ends it the way EndDialog does (hidden first).
    WindowHandle AddDialog(const Children& children) {
        const WindowHandle w = desk.ws.AddTopLevel("#32770", "Cap", 7);
        for (const auto& [cls, text] : children) {
            const WindowHandle c = desk.ws.AddChild(w, cls, text);
            if (text == "OK") desk.ws.Window(c).clickEndsDialog = true;
        }
        return w;
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            scanner.ScannerTick();
            desk.ws.Advance(50);
        }
    }
    std::vector<std::string> Calls(WindowHandle w, std::vector<std::string> lines) {
        for (auto& line : lines) {
            const auto at = line.find("{W}");
            if (at != std::string::npos) line.replace(at, 3, std::to_string(w));
        }
        return lines;
    }

    Desk desk;
    Scanner scanner;
    WindowHandle editor = 0;
};

const Children kBox = {{"Static", ""}, {"Button", "OK"}, {"Static", "Disk full"}};
const Children kEmptyBox = {{"Static", ""}, {"Button", "OK"}, {"Static", ""}};

TEST(EarlyLook, FollowedByTicks) {
    struct Row {
        const char* name;
        Children children;
        bool foreground;
        bool answers;  // the program answers the question whether it takes messages
        ListEntries white;
        std::string lateText;  // set as the last label's text after the early look
        std::vector<std::string> afterLook;
        std::vector<std::string> afterTicks;  // two ticks later, no full pass among them
    };
    const std::vector<std::string> closed = {"countdown", "log 'Cap' 'Disk full'",
                                             "show {W} 'Cap' 'Disk full'"};
    const std::vector<std::string> closedLate = {"countdown", "log 'Cap' 'Final text'",
                                                 "show {W} 'Cap' 'Final text'"};
    const std::vector<Row> rows = {
        {"a message box is closed by the early look, once", kBox, true, true, {}, "",
         closed, closed},
        {"also behind another window", kBox, false, true, {}, "", closed, closed},
        {"texts not set yet: the tick after they are closes it", kEmptyBox, true, true, {},
         "Final text", {}, closedLate},
        {"texts not set yet, in the background: left to the full pass", kEmptyBox, false, true,
         {}, "Final text", {}, {}},
        {"white-listed: the countdown once, then the ticks leave it", kBox, true, true,
         {"disk"}, "", {"countdown"}, {"countdown"}},
        {"a program that never answers gets no early look; the tick logs it, its click not "
         "taken",
         kBox, true, false, {}, "", {}, {"countdown", "log 'Cap' 'Disk full'"}},
        {"Yes/No is never pressed by an early look",
         {{"Static", "Save?"}, {"Button", "&Yes"}, {"Button", "&No"}}, true, true, {}, "",
         {}, {}},
        {"OK and Cancel: nothing", {{"Static", "Sure?"}, {"Button", "OK"}, {"Button", "Cancel"}},
         true, true, {}, "", {}, {}},
    };
    for (const Row& row : rows) {
        EventScene s;
        s.desk.SetList(ListKind::White, row.white);
        const WindowHandle w = s.AddDialog(row.children);
        if (!row.answers) {
            for (WindowHandle c : s.desk.ws.Window(w).children) s.desk.ws.Window(c).hung = true;
        }
        if (row.foreground) s.desk.ws.SetForeground(w);
        const WindowHandle before = s.scanner.Closer().LastExaminedWindow();
        s.desk.ws.ClearLog();

        ASSERT_TRUE(s.scanner.NewWindows().Add(w, s.desk.ws.Now())) << row.name;
        if (row.answers) {
            EXPECT_TRUE(s.scanner.NewWindows().Answered(w, s.desk.ws.Now()));
        }
        s.scanner.LookAtNewWindows();
        EXPECT_EQ(s.desk.sink.calls, s.Calls(w, row.afterLook)) << row.name;
        if (row.afterLook.empty()) {
            // Nothing done: the ticks see the same last examined window as without the look.
            EXPECT_EQ(s.scanner.Closer().LastExaminedWindow(), before) << row.name;
            EXPECT_TRUE(s.desk.ws.Commands().empty()) << row.name;
        }
        if (!row.lateText.empty()) {
            s.desk.ws.Window(s.desk.ws.Window(w).children.back()).text = row.lateText;
        }
        s.Ticks(2);
        EXPECT_EQ(s.desk.sink.calls, s.Calls(w, row.afterTicks))
            << row.name << "\n"
            << DumpSequences(s.Calls(w, row.afterTicks), s.desk.sink.calls);
    }
}

// A burst of a hundred boxes: each click waits for its program while the next box's program
// answers; the same look handles them all rather than one a wake-up. The closed boxes stay
// hidden until their programs end them, and the full pass that meets them logs none again;
// nor does it log again those whose clicks a busy machine's programs did not take in time
// (it only tries them again).
TEST(EarlyLook, ABurstIsHandledInOneLookAndLoggedOnce) {
    for (const bool taken : {true, false}) {
        EventScene s;
        constexpr int kBoxes = 100;
        std::vector<WindowHandle> boxes;
        std::vector<std::string> expected, retried;
        for (int i = 0; i < kBoxes; ++i) {
            boxes.push_back(s.AddDialog(kBox));
            ASSERT_TRUE(s.scanner.NewWindows().Add(boxes.back(), s.desk.ws.Now()));
            for (const char* line : {"countdown", "log 'Cap' 'Disk full'", "show {W} 'Cap' 'Disk full'"})
                if (taken || line[0] != 's') expected.push_back(s.Calls(boxes.back(), {line})[0]);
            if (!taken) retried.push_back("countdown");
        }
        for (int i = 0; i < kBoxes; ++i) {
            FakeWindow& ok = s.desk.ws.Window(s.desk.ws.Window(boxes[i]).children[1]);
            ok.slowCommands = !taken;
            if (i + 1 == kBoxes) continue;
            ok.onClick = [&s, next = boxes[i + 1]] { s.scanner.NewWindows().Answered(next, s.desk.ws.Now()); };
        }
        s.desk.ws.ClearLog();
        ASSERT_TRUE(s.scanner.NewWindows().Answered(boxes[0], s.desk.ws.Now()));
        s.scanner.LookAtNewWindows();
        EXPECT_EQ(s.scanner.NewWindows().Waiting(), 0u);
        s.desk.ws.Advance(kFullScanInterval);
        s.Ticks(1);
        expected.insert(expected.end(), retried.begin(), retried.end());
        EXPECT_EQ(s.desk.sink.calls, expected) << taken << DumpSequences(expected, s.desk.sink.calls);
    }
}

TEST(NewWindowWatch, OnlyWindowsWhoseProgramsAnsweredAreTakenInTheOrderTheyAnswered) {
    // One step per row: announce ('+'), answer ('a') or take ('t') at a time after the start;
    // what the call returned ("1"/"0", or the windows taken) and how many windows wait after.
    struct Step {
        char what;
        WindowHandle window;
        std::uint32_t at;
        std::string result;
        std::size_t waiting;
    };
    const Step steps[] = {
        {'+', 5, 0, "1", 1},       // announced: its program is asked
        {'+', 5, 1, "0", 1},       // announced again (shown after created): asked once
        {'+', 6, 2, "1", 2},       //
        {'+', 7, 3, "1", 3},       //
        {'t', 0, 4, "", 3},        // nobody answered yet: nothing to look at
        {'a', 6, 5, "1", 3},       // 6 answers first: the engine is woken
        {'a', 6, 6, "0", 3},       // a second answer wakes nobody
        {'a', 9, 6, "0", 3},       // an answer for a window never announced
        {'a', 5, 7, "1", 3},       //
        {'t', 0, 8, "6 5", 1},     // in the order they answered; 7 still waits
        {'a', 5, 9, "0", 1},       // looked at already
        {'a', 7, 30003, "0", 0},   // 7 waited too long and was forgotten
        {'+', 7, 30004, "1", 1},   // announced anew
    };
    for (std::uint32_t start : {100000u, 0xFFFFF000u}) {  // also across the clock's wrap
        NewWindowWatch watch;
        for (const Step& step : steps) {
            const std::uint32_t now = start + step.at;
            std::string result;
            if (step.what == '+') result = watch.Add(step.window, now) ? "1" : "0";
            if (step.what == 'a') result = watch.Answered(step.window, now) ? "1" : "0";
            if (step.what == 't') {
                for (WindowHandle w : watch.TakeAnswered())
                    result += (result.empty() ? "" : " ") + std::to_string(w);
            }
            EXPECT_EQ(result, step.result) << step.what << step.window << " at " << step.at;
            EXPECT_EQ(watch.Waiting(), step.waiting) << step.what << step.window << " at " << step.at;
        }
    }
    // A burst drops its oldest waiting window.
    NewWindowWatch watch;
    for (WindowHandle w = 1; w <= NewWindowWatch::kMaxWaiting + 1; ++w) watch.Add(w, 5);
    EXPECT_EQ(watch.Waiting(), NewWindowWatch::kMaxWaiting);
    EXPECT_FALSE(watch.Answered(1, 6));
    EXPECT_TRUE(watch.Answered(2, 6));
}

TEST(AnswerMemo, AFreshAnswerSparesTheQuestionAndSilenceIsNotWaitedForTwice) {
    struct Step {
        char what;  // 'a': answered, 's': silent, '?': check
        std::uint32_t thread;
        std::uint32_t at;  // ms after the start
        AnswerMemo::Verdict expected;
    };
    using V = AnswerMemo::Verdict;
    const Step steps[] = {
        {'?', 7, 0, V::kAsk},       {'a', 7, 0, V::kAsk},     {'?', 7, 49, V::kAnswers},
        {'?', 7, 50, V::kAsk},      {'?', 8, 5, V::kAsk},     {'s', 7, 60, V::kAsk},
        {'?', 7, 309, V::kSilent},  {'?', 7, 310, V::kAsk},   {'a', 7, 311, V::kAsk},
        {'?', 7, 320, V::kAnswers}, {'?', 0, 320, V::kAsk},
    };
    for (std::uint32_t start : {1000u, 0xFFFFFFF0u}) {
        AnswerMemo memo;
        for (const Step& s : steps) {
            const std::uint32_t now = start + s.at;
            if (s.what == '?') {
                EXPECT_EQ(memo.Check(s.thread, now), s.expected) << s.thread << " at " << s.at;
            } else {
                memo.Note(s.thread, s.what == 'a', now);
            }
        }
    }
    // Many threads: the one noted longest ago is forgotten first.
    AnswerMemo memo;
    constexpr auto kLast = static_cast<std::uint32_t>(AnswerMemo::kThreads + 1);
    for (std::uint32_t t = 1; t <= kLast; ++t) memo.Note(t, true, 1000 + t / 8);
    const std::uint32_t now = 1000 + kLast / 8;
    EXPECT_EQ(memo.Check(1, now), AnswerMemo::Verdict::kAsk);
    EXPECT_EQ(memo.Check(kLast, now), AnswerMemo::Verdict::kAnswers);
    EXPECT_EQ(memo.Check(2, now), AnswerMemo::Verdict::kAnswers);
}

// The GUI thread announces windows and hears their answers while the timer thread takes
// them: each answered window is taken exactly once.
TEST(NewWindowWatchThreaded, EveryAnsweredWindowIsTakenOnce) {
    NewWindowWatch watch;
    constexpr WindowHandle kWindows = 20000;
    std::atomic<bool> done{false};
    std::vector<int> seen(kWindows + 1, 0);
    std::thread engine([&] {
        while (true) {
            const bool last = done.load();
            for (WindowHandle w : watch.TakeAnswered()) ++seen[w];
            if (last) break;
            std::this_thread::yield();
        }
    });
    for (WindowHandle w = 1; w <= kWindows; ++w) {
        // The watch holds at most kMaxWaiting windows: wait for the engine rather than drop.
        while (watch.Waiting() >= NewWindowWatch::kMaxWaiting) std::this_thread::yield();
        const auto now = static_cast<std::uint32_t>(w);
        EXPECT_TRUE(watch.Add(w, now));
        EXPECT_TRUE(watch.Answered(w, now));
    }
    done = true;
    engine.join();
    for (WindowHandle w = 1; w <= kWindows; ++w) ASSERT_EQ(seen[w], 1) << w;
}

}  // namespace
}  // namespace vantor::testing
