#include "ui/message_log.h"

#include "base/text.h"
#include "lang/text_table.h"

namespace vantor {

namespace {
constexpr char kCrLf[] = "\r\n";
}  // namespace

std::string FormatLogEntry(const std::string& caption, const std::string& text) {
    std::string body = ReplaceAll(text, "\r", "#13", true);
    body = ReplaceAll(body, "\n", "#10", true);
    return caption + kCrLf + body;
}

LogPage ReadLogEntry(const std::string& entry) {
    LogPage page;
    std::string body = entry;
    const auto split = entry.find(kCrLf);
    if (split != std::string::npos) {
        page.caption = entry.substr(0, split);
        body = entry.substr(split + 2);
    }
    body = ReplaceAll(body, "#13", "\r", true);
    page.text = ReplaceAll(body, "#10", "\n", true);
    return page;
}

void MessageLog::Append(const std::string& caption, const std::string& text) {
    std::string entry = FormatLogEntry(caption, text);
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.push_back(std::move(entry));
    position_ = static_cast<int>(entries_.size()) - 1;
}

LogPage MessageLog::PageAt(int position) const {
    return ReadLogEntry(entries_[static_cast<size_t>(position)]);
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

std::vector<std::string> MessageLog::Entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_;
}

}  // namespace vantor
