#include "watcher/new_window_watch.h"

#include <algorithm>

namespace vantor {

void NewWindowWatch::ForgetOld(std::uint32_t now) {
    // Signed: a time a moment ahead (another thread's clock read) is young, also across the
    // wrap of the 32-bit count.
    std::erase_if(waiting_, [&](const Entry& e) {
        return !e.answered && static_cast<std::int32_t>(now - e.since) >= static_cast<std::int32_t>(kWatchMs);
    });
}

bool NewWindowWatch::Add(WindowHandle window, std::uint32_t now) {
    if (window == 0) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    ForgetOld(now);
    const auto same = [&](const Entry& e) { return e.window == window; };
    if (std::any_of(waiting_.begin(), waiting_.end(), same)) return false;
    if (waiting_.size() == kMaxWaiting) waiting_.erase(waiting_.begin());
    waiting_.push_back({window, now, false});
    return true;
}

bool NewWindowWatch::Answered(WindowHandle window, std::uint32_t now) {
    std::lock_guard<std::mutex> lock(mutex_);
    ForgetOld(now);
    const auto it = std::find_if(waiting_.begin(), waiting_.end(), [&](const Entry& e) {
        return e.window == window && !e.answered;
    });
    if (it == waiting_.end()) return false;
    Entry entry = *it;
    entry.answered = true;
    waiting_.erase(it);
    waiting_.push_back(entry);
    return true;
}

std::vector<WindowHandle> NewWindowWatch::TakeAnswered() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<WindowHandle> taken;
    for (const Entry& e : waiting_) {
        if (e.answered) taken.push_back(e.window);
    }
    std::erase_if(waiting_, [](const Entry& e) { return e.answered; });
    return taken;
}

void NewWindowWatch::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    waiting_.clear();
}

std::size_t NewWindowWatch::Waiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_.size();
}

}  // namespace vantor
