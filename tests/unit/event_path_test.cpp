// The event path's engine side against the fake: which new windows get an early look and
// when, how the ticks behave after one, the schedule of the looks, and what the sender
// remembers of other programs' answers.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
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
        bool hung;
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
        {"a message box is closed by the early look, once", kBox, true, false, {}, "",
         closed, closed},
        {"also behind another window", kBox, false, false, {}, "", closed, closed},
        {"texts not set yet: the tick after they are closes it", kEmptyBox, true, false, {},
         "Final text", {}, closedLate},
        {"texts not set yet, in the background: left to the full pass", kEmptyBox, false, false,
         {}, "Final text", {}, {}},
        {"white-listed: the countdown once, then the ticks leave it", kBox, true, false,
         {"disk"}, "", {"countdown"}, {"countdown"}},
        {"a hung program gets no early look; the tick logs it, its click not taken", kBox,
         true, true, {}, "", {}, {"countdown", "log 'Cap' 'Disk full'"}},
        {"Yes/No is never pressed by an early look",
         {{"Static", "Save?"}, {"Button", "&Yes"}, {"Button", "&No"}}, true, false, {}, "",
         {}, {}},
        {"OK and Cancel: nothing", {{"Static", "Sure?"}, {"Button", "OK"}, {"Button", "Cancel"}},
         true, false, {}, "", {}, {}},
    };
    for (const Row& row : rows) {
        EventScene s;
        s.desk.SetList(ListKind::White, row.white);
        const WindowHandle w = s.AddDialog(row.children);
        if (row.hung) {
            for (WindowHandle c : s.desk.ws.Window(w).children) s.desk.ws.Window(c).hung = true;
            s.desk.ws.Window(w).hung = true;
        }
        if (row.foreground) s.desk.ws.SetForeground(w);
        const WindowHandle before = s.scanner.Closer().LastExaminedWindow();
        s.desk.ws.ClearLog();

        ASSERT_TRUE(s.scanner.NewWindows().Add(w, s.desk.ws.Now())) << row.name;
        // A program that does not answer is asked again soon; the others have been looked at.
        const std::optional<std::uint32_t> next =
            row.hung ? std::optional<std::uint32_t>(NewWindowWatch::kYoungStepMs) : std::nullopt;
        EXPECT_EQ(s.scanner.LookAtNewWindows(), next) << row.name;
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

TEST(EarlyLook, AWindowIsLookedAtOnceShownOrActiveAndLeftToTheTicksAfterASecond) {
    EventScene s;
    auto& ws = s.desk.ws;
    const WindowHandle box = s.AddDialog(kBox);
    const WindowHandle helper = ws.AddTopLevel("IME", "Default IME", 7);  // never shown
    ws.Window(box).visible = ws.Window(helper).visible = false;
    ASSERT_TRUE(s.scanner.NewWindows().Add(helper, ws.Now()));
    ASSERT_TRUE(s.scanner.NewWindows().Add(box, ws.Now()));
    EXPECT_FALSE(s.scanner.NewWindows().Add(box, ws.Now())) << "announced twice: one wait";
    ws.ClearLog();

    // Hidden and not active: not looked at; soon again while young, less often later.
    EXPECT_EQ(s.scanner.LookAtNewWindows(), NewWindowWatch::kYoungStepMs);
    ws.Advance(150);
    EXPECT_EQ(s.scanner.LookAtNewWindows(), NewWindowWatch::kGrownStepMs);
    EXPECT_TRUE(ws.Log().empty()) << DumpSequences({}, ws.Log());
    // Active while still hidden (a dialog gets its focus before it is drawn): looked at.
    ws.SetForeground(box);
    EXPECT_EQ(s.scanner.LookAtNewWindows(), NewWindowWatch::kGrownStepMs);
    EXPECT_FALSE(ws.Window(box).visible);
    EXPECT_EQ(s.desk.sink.calls.size(), 3u);
    // The helper window never shows: left to the ticks once it has waited a second.
    ws.Advance(300);
    EXPECT_EQ(s.scanner.LookAtNewWindows(), NewWindowWatch::kOldStepMs);
    ws.Advance(NewWindowWatch::kWatchMs - 450);
    EXPECT_EQ(s.scanner.LookAtNewWindows(), std::nullopt);
    EXPECT_EQ(s.scanner.NewWindows().Waiting(), 0u);
    // A window shown later, by a program that answers later still: looked at then.
    const WindowHandle later = s.AddDialog(kBox);
    ws.Window(later).visible = false;
    ws.Window(later).hung = true;
    s.scanner.NewWindows().Add(later, ws.Now());
    s.scanner.LookAtNewWindows();
    ws.Advance(20);
    ws.Window(later).visible = true;
    EXPECT_EQ(s.scanner.LookAtNewWindows(), NewWindowWatch::kYoungStepMs);
    EXPECT_EQ(s.desk.sink.calls.size(), 3u);
    ws.Advance(20);
    ws.Window(later).hung = false;
    EXPECT_EQ(s.scanner.LookAtNewWindows(), std::nullopt);
    EXPECT_EQ(s.desk.sink.calls.size(), 6u);
    EXPECT_EQ(s.desk.sink.calls[4], "log 'Cap' 'Disk full'");
}

TEST(NewWindowWatch, TheNextLookComesSoonerTheYoungerTheYoungestWaitingWindow) {
    struct Row {
        std::vector<std::int32_t> ages;  // of the waiting windows; negative: a moment ahead
        std::optional<std::uint32_t> delay;
    };
    const Row rows[] = {
        {{}, std::nullopt}, {{0}, 2u},     {{99}, 2u},   {{100}, 10u},
        {{299}, 10u},       {{300}, 25u},  {{999}, 25u}, {{700, 40}, 2u},
        {{-3}, 2u},         {{400, 150}, 10u},
    };
    for (std::uint32_t start : {100000u, 0xFFFFFF80u}) {  // also across the clock's wrap
        for (const Row& row : rows) {
            NewWindowWatch watch;
            WindowHandle next = 1;
            for (std::int32_t age : row.ages) watch.Add(next++, start - static_cast<std::uint32_t>(age));
            EXPECT_EQ(watch.NextDelay(start), row.delay) << row.ages.size() << " windows";
        }
    }
    // Kept after a look: until it has waited kWatchMs; a burst drops its oldest window.
    NewWindowWatch watch;
    watch.Add(1, 0xFFFFFF00u);
    auto taken = watch.Take();
    ASSERT_EQ(taken.size(), 1u);
    watch.Keep(taken[0], 0xFFFFFF00u + NewWindowWatch::kWatchMs - 1);
    EXPECT_EQ(watch.Waiting(), 1u);
    taken = watch.Take();
    watch.Keep(taken[0], 0xFFFFFF00u + NewWindowWatch::kWatchMs);
    EXPECT_EQ(watch.Waiting(), 0u);
    for (WindowHandle w = 1; w <= NewWindowWatch::kMaxWaiting + 1; ++w) watch.Add(w, 5);
    taken = watch.Take();
    ASSERT_EQ(taken.size(), NewWindowWatch::kMaxWaiting);
    EXPECT_EQ(taken.front().window, 2u);
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
        {'?', 7, 0, V::kAsk},       {'a', 7, 0, V::kAsk},     {'?', 7, 19, V::kAnswers},
        {'?', 7, 20, V::kAsk},      {'?', 8, 5, V::kAsk},     {'s', 7, 30, V::kAsk},
        {'?', 7, 279, V::kSilent},  {'?', 7, 280, V::kAsk},   {'a', 7, 281, V::kAsk},
        {'?', 7, 290, V::kAnswers}, {'?', 0, 290, V::kAsk},
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
    for (std::uint32_t t = 1; t <= 9; ++t) memo.Note(t, true, 100 + t);
    EXPECT_EQ(memo.Check(1, 110), AnswerMemo::Verdict::kAsk);
    EXPECT_EQ(memo.Check(9, 110), AnswerMemo::Verdict::kAnswers);
    EXPECT_EQ(memo.Check(2, 110), AnswerMemo::Verdict::kAnswers);
}

// The GUI thread announces windows while the timer thread looks: each is taken exactly once.
TEST(NewWindowWatchThreaded, EveryAnnouncedWindowIsTakenOnce) {
    NewWindowWatch watch;
    constexpr WindowHandle kWindows = 20000;
    std::atomic<bool> done{false};
    std::vector<int> seen(kWindows + 1, 0);
    std::thread engine([&] {
        while (true) {
            const bool last = done.load();
            for (const auto& e : watch.Take()) ++seen[e.window];
            if (last) break;
            std::this_thread::yield();
        }
    });
    for (WindowHandle w = 1; w <= kWindows; ++w) {
        // The watch holds at most kMaxWaiting windows: wait for the engine rather than drop.
        while (watch.Waiting() >= NewWindowWatch::kMaxWaiting) std::this_thread::yield();
        watch.Add(w, static_cast<std::uint32_t>(w));
    }
    done = true;
    engine.join();
    for (WindowHandle w = 1; w <= kWindows; ++w) ASSERT_EQ(seen[w], 1) << w;
}

}  // namespace
}  // namespace vantor::testing
