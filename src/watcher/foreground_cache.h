// The foreground window as the watcher's ticks see it. Asking the window manager for it is
// a round trip (under Wine, a request to the server), and the ticks ask 20 times a second for
// an answer that changes only when windows come, go or are switched. So the platform marks
// every such event it is told of, and the ticks read on every tick only for kHotMs after an
// event (a new window takes a moment to become the foreground one, and Wine announces its
// creation but not its activation); otherwise only once the last read is kRecheckMs old,
// so a change that came without any event is seen late by at most that much, never missed.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "watcher/window_handle.h"

namespace vantor {

class ForegroundCache {
  public:
    static constexpr std::uint32_t kHotMs = 1000;
    static constexpr std::uint32_t kRecheckMs = 250;

    // Any thread: a window was created, shown, hidden, destroyed, focused or brought to the
    // foreground at `now` (a GetTickCount value).
    void MarkChanged(std::uint32_t now) {
        lastEvent_.store(now, std::memory_order_relaxed);
        marked_.store(true, std::memory_order_relaxed);
        changed_.store(true, std::memory_order_release);
    }

    // Whether change events arrive at all. Without them every call reads.
    void SetEventsActive(bool active) { eventsActive_.store(active, std::memory_order_release); }

    // The foreground window at `now` (a GetTickCount value; it may wrap). `read` asks the
    // window manager; it runs under the cache's lock, so it must not call back into it.
    template <typename Read>
    WindowHandle Get(std::uint32_t now, Read&& read) {
        std::lock_guard<std::mutex> lock(mutex_);
        // Taken before the read: a change announced while reading is read again next time.
        const bool changed = changed_.exchange(false, std::memory_order_acq_rel);
        const bool hot = changed || (marked_.load(std::memory_order_relaxed) &&
                                     now - lastEvent_.load(std::memory_order_relaxed) < kHotMs);
        if (hot || !known_ || !eventsActive_.load(std::memory_order_acquire) ||
            now - lastRead_ >= kRecheckMs) {
            value_ = read();
            lastRead_ = now;
            known_ = true;
        }
        return value_;
    }

  private:
    std::atomic<bool> changed_{false};
    std::atomic<bool> marked_{false};
    std::atomic<std::uint32_t> lastEvent_{0};
    std::atomic<bool> eventsActive_{false};
    std::mutex mutex_;
    bool known_ = false;
    std::uint32_t lastRead_ = 0;
    WindowHandle value_ = 0;
};

}  // namespace vantor
