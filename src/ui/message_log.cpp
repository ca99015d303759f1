#include "ui/message_log.h"

#include "base/text.h"
#include "lang/text_table.h"

namespace vantor {

void MessageLog::Append(const std::string& caption, const std::string& text) {
    // The newest entry always stays, cut to the size of the whole log if it must be.
    std::string kept = caption.substr(0, kMaxLogBytes);
    Entry entry{kept, text.substr(0, kMaxLogBytes - kept.size())};
    std::lock_guard<std::mutex> lock(mutex_);
    bytes_ += entry.caption.size() + entry.text.size();
    entries_.push_back(std::move(entry));
    while (entries_.size() > kMaxLogEntries || bytes_ > kMaxLogBytes) {
        bytes_ -= entries_.front().caption.size() + entries_.front().text.size();
        entries_.pop_front();
    }
    position_ = static_cast<int>(entries_.size()) - 1;
}

LogPage MessageLog::PageAt(int position) const {
    const Entry& entry = entries_[static_cast<std::size_t>(position)];
    return {entry.caption, entry.text};
}

LogPage MessageLog::Last() {
    std::lock_guard<std::mutex> lock(mutex_);
    position_ = static_cast<int>(entries_.size()) - 1;
    if (position_ < 0) return {};
    return PageAt(position_);
}

LogPage MessageLog::Previous(const std::string& firstMessageNote) {
    std::lock_guard<std::mutex> lock(mutex_);
    position_ -= 1;
    if (position_ < 0) {
        position_ = -1;
        return {std::string(kProgramCaption), firstMessageNote};
    }
    return PageAt(position_);
}

LogPage MessageLog::Next(const std::string& lastMessageNote) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int count = static_cast<int>(entries_.size());
    position_ += 1;
    if (position_ < count) return PageAt(position_);
    position_ = count;
    return {std::string(kProgramCaption), lastMessageNote};
}

int MessageLog::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(entries_.size());
}

int MessageLog::Position() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return position_;
}

}  // namespace vantor
