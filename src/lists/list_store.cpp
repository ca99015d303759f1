#include "lists/list_store.h"

#include <utility>

namespace vantor {

ListStore::ListStore() : current_(std::make_shared<const ListEntries>()) {}

ListSnapshot ListStore::Snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return current_;
}

void ListStore::Publish(ListEntries entries) {
    auto next = std::make_shared<const ListEntries>(std::move(entries));
    std::lock_guard<std::mutex> writer(writeMutex_);
    ListSnapshot old;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        old = std::exchange(current_, std::move(next));
    }
    // The old list is freed here, outside the readers' lock, unless a reader still holds it.
}

void ListStore::Append(std::string entry) {
    std::lock_guard<std::mutex> writer(writeMutex_);
    // No other writer can run now, so current_ cannot change under the copy.
    ListSnapshot base = Snapshot();
    auto next = std::make_shared<ListEntries>(*base);
    next->push_back(std::move(entry));
    ListSnapshot old;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        old = std::exchange(current_, ListSnapshot(std::move(next)));
    }
}

}  // namespace vantor
