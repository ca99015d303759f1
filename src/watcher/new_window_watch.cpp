#include "watcher/new_window_watch.h"

#include <algorithm>

namespace vantor {
namespace {

// How long ago `since` was at `now`; 0 for a time a moment ahead (another thread's clock
// read), also across the wrap of the 32-bit count.
std::uint32_t Age(std::uint32_t now, std::uint32_t since) {
    const auto age = static_cast<std::int32_t>(now - since);
    return age < 0 ? 0 : static_cast<std::uint32_t>(age);
}

}  // namespace

bool NewWindowWatch::Add(WindowHandle window, std::uint32_t now) {
    if (window == 0) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    const auto same = [&](const Entry& e) { return e.window == window; };
    if (std::any_of(waiting_.begin(), waiting_.end(), same)) return false;
    if (waiting_.size() == kMaxWaiting) waiting_.erase(waiting_.begin());
    waiting_.push_back({window, now});
    return true;
}

std::vector<NewWindowWatch::Entry> NewWindowWatch::Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Entry> taken;
    taken.swap(waiting_);
    return taken;
}

void NewWindowWatch::Keep(const Entry& entry, std::uint32_t now) {
    if (Age(now, entry.since) >= kWatchMs) return;
    std::lock_guard<std::mutex> lock(mutex_);
    const auto same = [&](const Entry& e) { return e.window == entry.window; };
    if (std::any_of(waiting_.begin(), waiting_.end(), same)) return;
    if (waiting_.size() == kMaxWaiting) return;
    // Taken windows are older than any announced since: they go first again.
    const auto at = std::find_if(waiting_.begin(), waiting_.end(), [&](const Entry& e) {
        return static_cast<std::int32_t>(e.since - entry.since) >= 0;
    });
    waiting_.insert(at, entry);
}

std::optional<std::uint32_t> NewWindowWatch::NextDelay(std::uint32_t now) const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (waiting_.empty()) return std::nullopt;
    std::uint32_t youngest = kWatchMs;
    for (const Entry& e : waiting_) youngest = std::min(youngest, Age(now, e.since));
    if (youngest < kYoungMs) return kYoungStepMs;
    if (youngest < kGrownMs) return kGrownStepMs;
    return kOldStepMs;
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
