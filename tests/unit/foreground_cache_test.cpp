#include "watcher/foreground_cache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace vantor {
namespace {

// A window manager whose foreground window the test sets, counting the reads.
struct Desktop {
    WindowHandle foreground = 0;
    int reads = 0;
    WindowHandle Read() {
        ++reads;
        return foreground;
    }
};

TEST(ForegroundCache, ReadsOnEveryTickOnlyAfterAnEventOtherwiseWhenTheLastReadIsOld) {
    // Each step: time advanced before the call, whether an event came at that moment,
    // whether events arrive at all, the real foreground; then whether the call had to read
    // and what it answered. The clock starts just before GetTickCount wraps.
    struct Step {
        std::uint32_t advance;
        bool event;
        bool events;
        WindowHandle real;
        bool reads;
        WindowHandle answer;
    };
    const Step steps[] = {
        {0, false, true, 7, true, 7},     // t=0: nothing known yet
        {50, false, true, 7, false, 7},   // a tick later: cached
        {50, false, true, 9, false, 7},   // changed without an event: still the old one...
        {150, false, true, 9, true, 9},   // ...until the last read is 250 ms old (t=250)
        {50, true, true, 9, true, 9},     // t=300: an event forces a read...
        {50, false, true, 3, true, 3},    // ...and every tick reads for a second after it
        {949, false, true, 4, true, 4},   // t=1299: still within that second
        {1, false, true, 5, false, 4},    // t=1300: over; the last read is 1 ms old
        {248, false, true, 5, false, 4},  // t=1548: 249 ms old
        {1, false, false, 6, true, 6},    // no events: every call reads
        {1, false, false, 6, true, 6},    //
        {1, false, true, 8, false, 6},    // events again: cached
        {250, false, true, 8, true, 8},   // 250 ms after the last read
    };
    ForegroundCache cache;
    Desktop desk;
    std::uint32_t now = 0xFFFFFF00u;
    int step = 0;
    for (const Step& s : steps) {
        now += s.advance;
        if (s.event) cache.MarkChanged(now);
        cache.SetEventsActive(s.events);
        desk.foreground = s.real;
        const int before = desk.reads;
        const WindowHandle got = cache.Get(now, [&] { return desk.Read(); });
        EXPECT_EQ(desk.reads - before, s.reads ? 1 : 0) << "step " << step;
        EXPECT_EQ(got, s.answer) << "step " << step;
        ++step;
    }
}

TEST(ForegroundCacheThreaded, AChangeMarkedOnAnotherThreadIsNeverLost) {
    // The GUI thread announces changes while the timer thread ticks: after each
    // announcement has been made, the next tick must see the foreground set before it.
    ForegroundCache cache;
    cache.SetEventsActive(true);
    std::atomic<WindowHandle> real{1};
    std::atomic<WindowHandle> announced{0};
    std::atomic<bool> done{false};
    std::thread gui([&] {
        for (WindowHandle w = 2; w < 3000; ++w) {
            real.store(w);
            cache.MarkChanged(0);
            announced.store(w);
            std::this_thread::yield();
        }
        done = true;
    });
    int stale = 0;
    while (!done.load()) {
        const WindowHandle seenBefore = announced.load();
        // Far from the events' time and the last read: only the marks can make it read.
        const WindowHandle got = cache.Get(5000, [&] { return real.load(); });
        if (got < seenBefore) ++stale;
    }
    gui.join();
    EXPECT_EQ(stale, 0);
    EXPECT_EQ(cache.Get(5000, [&] { return real.load(); }), WindowHandle{2999});
}

}  // namespace
}  // namespace vantor
