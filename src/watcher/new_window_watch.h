// Top-level windows of other programs that were just created or shown, waiting for the
// engine's early look. The system's window events add them on the GUI thread; the engine
// takes them on the timer thread. Wine announces a window only as it is created, hidden and
// still being filled in, so a window is looked at once it is visible: the engine looks again
// soon while it is young (a message box shows some 15 to 30 ms after its creation), less
// often later, and leaves one that has not shown within kWatchMs to the ticks and the full
// pass. Windows announces showing and activation as well; those are visible at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "watcher/window_handle.h"

namespace vantor {

class NewWindowWatch {
  public:
    static constexpr std::uint32_t kWatchMs = 1000;
    // The delay of the next look while the youngest waiting window is this young or younger.
    static constexpr std::uint32_t kYoungMs = 100;
    static constexpr std::uint32_t kYoungStepMs = 2;
    static constexpr std::uint32_t kGrownMs = 300;
    static constexpr std::uint32_t kGrownStepMs = 10;
    static constexpr std::uint32_t kOldStepMs = 25;
    // A burst of new windows beyond this many drops the oldest waiting one.
    static constexpr std::size_t kMaxWaiting = 64;

    struct Entry {
        WindowHandle window = 0;
        std::uint32_t since = 0;  // GetTickCount when it was announced
    };

    // Any thread: `window` was created or shown at `now`. True when it was not waiting yet;
    // the caller then makes sure the engine looks within kYoungStepMs.
    bool Add(WindowHandle window, std::uint32_t now);
    // Timer thread: every waiting window, oldest first; none waits any more.
    std::vector<Entry> Take();
    // Timer thread: a window taken but not shown yet waits again, unless it has waited
    // kWatchMs already or has been announced anew meanwhile.
    void Keep(const Entry& entry, std::uint32_t now);
    // Timer thread, after a look: the delay of the next one, or nothing while no window waits.
    std::optional<std::uint32_t> NextDelay(std::uint32_t now) const;
    // Forgets every waiting window (the watcher stops).
    void Clear();
    std::size_t Waiting() const;

  private:
    mutable std::mutex mutex_;
    std::vector<Entry> waiting_;  // oldest first
};

}  // namespace vantor
