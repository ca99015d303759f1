// The in-memory log of closed messages and the paging through it. Entries are appended on
// the timer thread and read on the GUI thread, so every member takes the lock. Each entry
// keeps the caption and the text apart, exactly as they were (nothing is escaped: the log is
// never written anywhere). Only the newest entries are kept, so that a desktop full of
// messages cannot grow the program without bound.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace vantor {

inline constexpr std::size_t kMaxLogEntries = 1000;
inline constexpr std::size_t kMaxLogBytes = 16u << 20;  // captions and texts together

// What a navigation command puts on the message window; an absent field stays as it is.
struct LogPage {
    std::optional<std::string> caption;
    std::optional<std::string> text;
};

class MessageLog {
  public:
    // Appends the entry and makes it the current one; the oldest entries go when the log
    // holds more than kMaxLogEntries or kMaxLogBytes (the newest always stays, its text cut
    // to fit).
    void Append(const std::string& caption, const std::string& text);

    // Position := count - 1; the newest entry, or nothing to change when the log is empty.
    LogPage Last();
    // One step back; before the first entry the position stays at -1 with the first-message note.
    LogPage Previous(const std::string& firstMessageNote);
    // One step on; past the last entry the position stays at count with the last-message note.
    LogPage Next(const std::string& lastMessageNote);

    int Count() const;
    int Position() const;  // -1 .. Count()

  private:
    struct Entry {
        std::string caption;
        std::string text;
    };
    LogPage PageAt(int position) const;

    mutable std::mutex mutex_;
    std::deque<Entry> entries_;
    std::size_t bytes_ = 0;
    int position_ = -1;
};

}  // namespace vantor
