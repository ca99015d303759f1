// The class names of the windows read lately. A window's class never changes while it
// exists, and each read of it is a round trip to the window manager (under Wine two), while
// the full pass meets every child of every top-level window every 3 s. A handle names one
// window for its whole life (the system adds a reuse count to the slot number), and a name
// not asked for during a whole period is dropped, so none is kept for a handle nobody has
// looked at for two periods.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "watcher/window_handle.h"

namespace vantor {

class ClassNames {
  public:
    static constexpr std::uint32_t kPeriodMs = 5000;
    // A desktop with more windows than this reads the rest every time.
    static constexpr std::size_t kMaxEntries = 16384;

    // Any thread; `now` is a GetTickCount value (it may wrap).
    std::optional<std::string> Find(WindowHandle window, std::uint32_t now) {
        std::lock_guard<std::mutex> lock(mutex_);
        Turn(now);
        if (const auto it = current_.find(window); it != current_.end()) return it->second;
        const auto old = previous_.find(window);
        if (old == previous_.end()) return std::nullopt;
        std::string name = std::move(old->second);
        previous_.erase(old);
        if (current_.size() < kMaxEntries) current_.emplace(window, name);
        return name;
    }
    // Only what the window manager answered: a failed read (a window gone) is not kept.
    void Keep(WindowHandle window, const std::string& name, std::uint32_t now) {
        std::lock_guard<std::mutex> lock(mutex_);
        Turn(now);
        if (window != 0 && current_.size() < kMaxEntries) current_.insert_or_assign(window, name);
    }

  private:
    // Names used in the current period stay; the others go at the next turn.
    void Turn(std::uint32_t now) {
        if (now - periodStart_ < kPeriodMs) return;
        // Two periods without a look: nothing of before is kept either.
        if (now - periodStart_ >= 2 * kPeriodMs) current_.clear();
        previous_ = std::move(current_);
        current_.clear();
        periodStart_ = now;
    }

    std::mutex mutex_;
    std::unordered_map<WindowHandle, std::string> current_, previous_;
    std::uint32_t periodStart_ = 0;
};

}  // namespace vantor
