// A value shared between the GUI thread, which replaces it, and the timer thread, which reads
// it: readers take an immutable snapshot that stays valid while they hold it; a writer
// publishes a new value whole, so nobody ever sees half of a change.
#pragma once

#include <memory>
#include <mutex>
#include <utility>

namespace vantor {

template <class T>
class SharedSnapshot {
  public:
    SharedSnapshot() : current_(std::make_shared<const T>()) {}
    explicit SharedSnapshot(T value) : current_(std::make_shared<const T>(std::move(value))) {}
    SharedSnapshot(const SharedSnapshot&) = delete;
    SharedSnapshot& operator=(const SharedSnapshot&) = delete;

    // Never null.
    std::shared_ptr<const T> Get() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return current_;
    }
    void Set(T value) {
        std::lock_guard<std::mutex> writing(writeMutex_);
        Publish(std::move(value));
    }
    // Copy, change, publish; writers are serialised so that no change is lost.
    template <class Change>
    void Update(Change&& change) {
        std::lock_guard<std::mutex> writing(writeMutex_);
        T next = *Get();
        change(next);
        Publish(std::move(next));
    }

  private:
    void Publish(T value) {
        auto next = std::make_shared<const T>(std::move(value));
        std::shared_ptr<const T> old;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            old = std::exchange(current_, std::move(next));
        }
        // The old value is freed here, outside the readers' lock, unless a reader holds it.
    }

    mutable std::mutex mutex_;  // held only to copy or swap the pointer
    std::mutex writeMutex_;
    std::shared_ptr<const T> current_;
};

}  // namespace vantor
