// A list of text entries shared between the GUI thread (loads, appends) and the timer
// thread (lookups). Readers take an immutable snapshot; writers publish a new one whole,
// so a reader never sees a partly filled list.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/shared_snapshot.h"

namespace vantor {

using ListEntries = std::vector<std::string>;
using ListSnapshot = std::shared_ptr<const ListEntries>;

class ListStore {
  public:
    // Never null; the list as last published. Stays valid and unchanged while held.
    ListSnapshot Snapshot() const { return list_.Get(); }
    void Publish(ListEntries entries) { list_.Set(std::move(entries)); }
    // Copy-on-write append of one entry (used when the user adds a text from the message window).
    void Append(std::string entry) {
        list_.Update([&](ListEntries& entries) { entries.push_back(std::move(entry)); });
    }

  private:
    SharedSnapshot<ListEntries> list_;
};

}  // namespace vantor
