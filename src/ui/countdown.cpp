#include "ui/countdown.h"

namespace vantor {

std::string CountdownCaption(const std::string& closeText, unsigned secondsLeft) {
    return closeText + " (" + std::to_string(secondsLeft) + ")";
}

bool Countdown::Restart(unsigned messageTime) {
    std::lock_guard<std::mutex> lock(mutex_);
    remaining_ = messageTime;
    return KeepTickingLocked();
}

bool Countdown::Shown() {
    std::lock_guard<std::mutex> lock(mutex_);
    return KeepTickingLocked();
}

bool Countdown::KeepTickingLocked() {
    ranOut_ = false;
    const bool start = !ticking_;
    ticking_ = true;
    return start;
}

bool Countdown::StopIfIdle(bool visible, const std::function<void()>& stop) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ticking_ || !ranOut_ || visible) return false;
    stop();
    ticking_ = false;
    return true;
}

CountdownStep Countdown::Tick(bool visible, bool foreground, unsigned messageTime, bool isTimer,
                              const std::string& closeText) {
    std::lock_guard<std::mutex> lock(mutex_);
    CountdownStep step;
    step.raise = visible && keepOnTop_;
    // The user has just left the window: give them the full time again.
    if (wasForeground_ && !foreground) remaining_ = messageTime;
    wasForeground_ = foreground;
    step.closeCaption = closeText;
    ranOut_ = false;
    if (remaining_ > 0) {
        remaining_ -= 1;
        if (!foreground && isTimer) step.closeCaption = CountdownCaption(closeText, remaining_ + 1);
    } else if (!foreground) {
        // Only a tick that finds the count already run out hides: Close (1) stays a second.
        step.hide = true;
        ranOut_ = true;
    }
    return step;
}

void Countdown::SetKeepOnTop(bool keep) {
    std::lock_guard<std::mutex> lock(mutex_);
    keepOnTop_ = keep;
}

bool Countdown::KeepOnTop() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return keepOnTop_;
}

bool Countdown::WasForeground() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return wasForeground_;
}

unsigned Countdown::Remaining() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return remaining_;
}

void Countdown::ClearWasForeground() {
    std::lock_guard<std::mutex> lock(mutex_);
    wasForeground_ = false;
}

}  // namespace vantor
