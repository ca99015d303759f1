// A list of text entries shared between the GUI thread (loads, appends) and the timer
// thread (lookups). Readers take an immutable snapshot; writers publish a new one whole,
// so a reader never sees a partly filled list.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vantor {

using ListEntries = std::vector<std::string>;
using ListSnapshot = std::shared_ptr<const ListEntries>;

class ListStore {
  public:
    ListStore();
    ListStore(const ListStore&) = delete;
    ListStore& operator=(const ListStore&) = delete;

    // Never null; the list as last published. Stays valid and unchanged while held.
    ListSnapshot Snapshot() const;
    void Publish(ListEntries entries);
    // Copy-on-write append of one entry (used when the user adds a text from the message window).
    void Append(std::string entry);

  private:
    mutable std::mutex mutex_;  // guards current_ only; held just to copy or swap the pointer
    std::mutex writeMutex_;     // serialises writers so an append never loses a publish
    ListSnapshot current_;
};

}  // namespace vantor
