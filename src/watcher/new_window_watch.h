// Top-level windows of other programs that were just created or shown, waiting for the
// engine's early look. The system's window events add them on the GUI thread, which then
// asks each window's program, without waiting, whether it takes messages (a WM_NULL whose
// answer comes back to the GUI thread later). The answer comes once the program is back in
// its message loop: its window is built by then, a dialog's texts are set (a message box
// answers just before it is drawn), and only then is the engine woken to look at it. A
// program that never answers (hung, or busy for good) never costs the engine anything here:
// its windows are left to the ticks and the full pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "watcher/window_handle.h"

namespace vantor {

class NewWindowWatch {
  public:
    // A window whose program has not answered for this long is forgotten.
    static constexpr std::uint32_t kWatchMs = 30000;
    // A burst of new windows beyond this many drops the oldest waiting one (a batch job may
    // fail a hundred times at once; each entry is a few bytes).
    static constexpr std::size_t kMaxWaiting = 256;

    // Any thread: `window` was created or shown at `now`. True when it was not waiting yet;
    // the caller then asks its program whether it answers.
    bool Add(WindowHandle window, std::uint32_t now);
    // Any thread: the program of `window` answered at `now`. True when the window was
    // waiting for that; the caller then wakes the engine.
    bool Answered(WindowHandle window, std::uint32_t now);
    // Timer thread: the windows whose programs have answered, in the order they answered;
    // they wait no more.
    std::vector<WindowHandle> TakeAnswered();
    // Forgets every waiting window (the watcher stops).
    void Clear();
    std::size_t Waiting() const;

  private:
    struct Entry {
        WindowHandle window = 0;
        std::uint32_t since = 0;  // GetTickCount when it was announced
        bool answered = false;
    };
    void ForgetOld(std::uint32_t now);

    mutable std::mutex mutex_;
    std::vector<Entry> waiting_;  // in the order announced, or answered for answered ones
};

}  // namespace vantor
