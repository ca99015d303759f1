#include "ui/countdown.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace vantor {
namespace {

// One tick's facts and what the window must do.
struct Tick {
    bool foreground;
    const char* caption;
    bool hide;
};

TEST(CountdownTest, TickSequences) {
    struct Case {
        const char* name;
        unsigned messageTime;
        bool isTimer;
        std::vector<Tick> ticks;
    };
    const Case cases[] = {
        {"timer shown, hides on the fifth tick",
         4,
         true,
         {{false, "Close (4)", false},
          {false, "Close (3)", false},
          {false, "Close (2)", false},
          {false, "Close (1)", false},
          {false, "Close", true}}},
        {"timer hidden",
         2,
         false,
         {{false, "Close", false}, {false, "Close", false}, {false, "Close", true}}},
        {"zero time hides at the first tick", 0, true, {{false, "Close", true}}},
        {"foreground never hides and shows no count",
         1,
         true,
         {{true, "Close", false}, {true, "Close", false}, {true, "Close", false}}},
        {"leaving the window restarts the full time",
         3,
         true,
         {{false, "Close (3)", false},
          {false, "Close (2)", false},
          {true, "Close", false},  // clicked into it: count runs on (0) but no hide
          {false, "Close (3)", false},
          {false, "Close (2)", false},
          {false, "Close (1)", false},
          {false, "Close", true}}},
    };
    for (const auto& c : cases) {
        Countdown countdown;
        EXPECT_TRUE(countdown.Restart(c.messageTime));
        EXPECT_FALSE(countdown.Restart(c.messageTime));  // the timer is started once
        int index = 0;
        for (const auto& tick : c.ticks) {
            SCOPED_TRACE(std::string(c.name) + " tick " + std::to_string(index++));
            const CountdownStep step =
                countdown.Tick(true, tick.foreground, c.messageTime, c.isTimer, "Close");
            EXPECT_EQ(step.closeCaption, tick.caption);
            EXPECT_EQ(step.hide, tick.hide);
            EXPECT_EQ(countdown.WasForeground(), tick.foreground);
        }
    }
}

TEST(CountdownTest, RaiseOnlyWhenVisibleAndKeptOnTop) {
    struct Case {
        bool visible, keepOnTop, raise;
    };
    const Case cases[] = {
        {true, true, true}, {true, false, false}, {false, true, false}, {false, false, false}};
    for (const auto& c : cases) {
        Countdown countdown;
        countdown.Restart(4);
        countdown.SetKeepOnTop(c.keepOnTop);
        EXPECT_EQ(countdown.Tick(c.visible, false, 4, false, "Close").raise, c.raise)
            << c.visible << c.keepOnTop;
    }
}

TEST(CountdownTest, RestartMidwayGivesFullTimeAgain) {
    Countdown countdown;
    countdown.Restart(2);
    countdown.Tick(true, false, 2, true, "X");
    EXPECT_EQ(countdown.Remaining(), 1u);
    countdown.Restart(2);
    EXPECT_EQ(countdown.Tick(true, false, 2, true, "X").closeCaption, "X (2)");
}

TEST(CountdownTest, TheTimerStopsOnlyOnceNothingIsLeftToDo) {
    // Ticks of a two-second count; after each, whether the one-second timer may stop. It may
    // once the window is hidden and a tick has found the count run out, so the caption is
    // already the plain one; a restart then asks for the timer again.
    struct Step {
        bool visible;     // during the tick and after it
        bool foreground;  // during the tick
        const char* caption;
        bool stops;
    };
    const Step steps[] = {
        {true, false, "Close (2)", false},
        {true, false, "Close (1)", false},
        {true, false, "Close", false},  // hides now; visible still while the tick ran
        {false, false, "Close", true},  // hidden and run out: stop
    };
    const Step hiddenEarly[] = {
        {false, false, "Close (2)", false},  // hidden by the user: the count runs on
        {false, false, "Close (1)", false},  // run out, but the caption still shows 1
        {false, false, "Close", true},
    };
    const Step userInside[] = {
        {true, true, "Close", false},       {true, true, "Close", false},
        {false, false, "Close (2)", false},  // hidden by the user from inside: full time again
        {false, false, "Close (1)", false}, {false, false, "Close", true},
    };
    const Step spyShown[] = {
        {true, true, "Close", false},
        {true, false, "Close (2)", false},  // left the spy's window: the full time
        {true, false, "Close (1)", false},
        {true, false, "Close", false},
        {false, false, "Close", true},
    };
    struct Case {
        const char* name;
        const Step* steps;
        std::size_t count;
        bool shownWithoutRestart = false;  // by the spy, after the timer had stopped
    };
    const Case cases[] = {{"shown until it hides", steps, std::size(steps)},
                          {"hidden early", hiddenEarly, std::size(hiddenEarly)},
                          {"the user was in it", userInside, std::size(userInside)},
                          {"the spy showed it", spyShown, std::size(spyShown), true}};
    for (const Case& c : cases) {
        Countdown countdown;
        int stops = 0;
        if (c.shownWithoutRestart) {
            ASSERT_TRUE(countdown.Restart(0));
            countdown.Tick(false, false, 2, true, "Close");
            ASSERT_TRUE(countdown.StopIfIdle(false, [] {}));
            ASSERT_TRUE(countdown.Shown()) << "the timer must start again";
        } else {
            ASSERT_TRUE(countdown.Restart(2));
        }
        for (std::size_t i = 0; i < c.count; ++i) {
            SCOPED_TRACE(std::string(c.name) + " tick " + std::to_string(i));
            const Step& s = c.steps[i];
            EXPECT_EQ(countdown.Tick(s.visible, s.foreground, 2, true, "Close").closeCaption,
                      s.caption);
            EXPECT_EQ(countdown.StopIfIdle(s.visible, [&] { ++stops; }), s.stops);
        }
        EXPECT_EQ(stops, 1) << c.name;
        EXPECT_FALSE(countdown.StopIfIdle(false, [&] { ++stops; })) << "stopped twice";
        EXPECT_TRUE(countdown.Restart(2)) << c.name << ": the timer must start again";
        EXPECT_FALSE(countdown.StopIfIdle(false, [&] { ++stops; })) << "a fresh count stopped";
    }
}

// The watcher restarts the count on the timer thread while the GUI thread ticks it: the
// count never leaves 0..MessageTime and the first restart is reported exactly once.
TEST(CountdownTest, ThreadedRestartWhileTicking) {
    Countdown countdown;
    std::atomic<int> firsts{0};
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        for (int i = 0; i < 5000; ++i) {
            if (countdown.Restart(3)) ++firsts;
        }
        done = true;
    });
    while (!done) {
        const CountdownStep step = countdown.Tick(true, false, 3, true, "Close");
        EXPECT_LE(countdown.Remaining(), 3u);
        EXPECT_TRUE(step.closeCaption == "Close" || step.closeCaption.rfind("Close (", 0) == 0);
        countdown.SetKeepOnTop(!countdown.KeepOnTop());
    }
    watcher.join();
    EXPECT_EQ(firsts.load(), 1);
    countdown.Restart(3);
    EXPECT_EQ(countdown.Tick(true, false, 3, true, "Close").closeCaption, "Close (3)");
}

// A restart on the timer thread races the GUI thread's stop: whatever the interleaving, the
// countdown's idea of the timer matches the timer, so no count is left without a timer.
TEST(CountdownTest, ThreadedRestartRacesTheIdleStop) {
    Countdown countdown;
    std::atomic<bool> running{false};
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        for (int i = 0; i < 3000; ++i) {
            if (countdown.Restart(i % 3)) running = true;  // the timer's Start
            if (i % 64 == 0) std::this_thread::yield();
        }
        done = true;
    });
    int stops = 0;
    while (!done) {
        countdown.Tick(false, false, 2, true, "Close");
        if (countdown.StopIfIdle(false, [&] { running = false; })) ++stops;
    }
    watcher.join();
    // Asked now, a restart starts the timer exactly when it is not running.
    EXPECT_EQ(countdown.Restart(2), !running.load()) << stops << " stops";
}

}  // namespace
}  // namespace vantor
