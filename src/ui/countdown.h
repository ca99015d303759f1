// The message window's countdown: how many one-second ticks it stays up, whether the user
// has it in the foreground, and what the Close button reads. Fed with facts about the
// window so that it can be exercised without one; guarded because the watcher restarts it
// from the timer thread while the GUI thread ticks it.
#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace vantor {

// What one countdown tick asks of the window.
struct CountdownStep {
    bool raise = false;        // bring it back to the top without activating it
    std::string closeCaption;  // the Close button's caption from now on
    bool hide = false;
};

class Countdown {
  public:
    // Starts the full count again; true when the one-second timer must be started (it has
    // never run, or was stopped by StopIfIdle).
    bool Restart(unsigned messageTime);
    // The window was shown without a restart (the spy shows and activates it): the count is
    // left as it is, but the timer must run, so that the window still hides once it has lost
    // the foreground. True when the one-second timer must be started.
    bool Shown();
    // One tick. `visible` and `foreground` describe the window now.
    CountdownStep Tick(bool visible, bool foreground, unsigned messageTime, bool isTimer,
                       const std::string& closeText);

    // After a tick: once the window is hidden and the last tick found the count run out,
    // further ticks would change nothing until the next Restart, so `stop` ends the timer
    // (a tray program that showed one message no longer wakes every second). It runs under
    // the lock: a Restart on another thread comes either before it (and nothing stops) or
    // after it (and starts the timer again). True when it stopped.
    bool StopIfIdle(bool visible, const std::function<void()>& stop);

    void SetKeepOnTop(bool keep);
    bool KeepOnTop() const;
    bool WasForeground() const;
    unsigned Remaining() const;
    void ClearWasForeground();

  private:
    bool KeepTickingLocked();

    mutable std::mutex mutex_;
    unsigned remaining_ = 0;
    bool ticking_ = false;  // the one-second timer runs
    bool ranOut_ = false;   // the last tick found the count at 0 outside the foreground
    bool wasForeground_ = false;
    bool keepOnTop_ = false;
};

// "Close (n)": the caption with the seconds left while the timer is shown.
std::string CountdownCaption(const std::string& closeText, unsigned secondsLeft);

}  // namespace vantor
