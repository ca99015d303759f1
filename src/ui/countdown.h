// The message window's countdown: how many one-second ticks it stays up, whether the user
// has it in the foreground, and what the Close button reads. Fed with facts about the
// window so that it can be exercised without one; guarded because the watcher restarts it
// from the timer thread while the GUI thread ticks it.
#pragma once

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
    // Starts the full count again; true the first time (the one-second timer must be started).
    bool Restart(unsigned messageTime);
    // One tick. `visible` and `foreground` describe the window now.
    CountdownStep Tick(bool visible, bool foreground, unsigned messageTime, bool isTimer,
                       const std::string& closeText);

    void SetKeepOnTop(bool keep);
    bool KeepOnTop() const;
    bool WasForeground() const;
    unsigned Remaining() const;
    void ClearWasForeground();

  private:
    mutable std::mutex mutex_;
    unsigned remaining_ = 0;
    bool started_ = false;
    bool wasForeground_ = false;
    bool keepOnTop_ = false;
};

// "Close (n)": the caption with the seconds left while the timer is shown.
std::string CountdownCaption(const std::string& closeText, unsigned secondsLeft);

}  // namespace vantor
