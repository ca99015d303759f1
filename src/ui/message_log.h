// The in-memory log of closed messages and the paging through it. Entries are appended on
// the timer thread and read on the GUI thread, so every member takes the lock.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

// "caption CR LF text" with every CR of the text written as "#13", then every LF as "#10".
std::string FormatLogEntry(const std::string& caption, const std::string& text);

// What a navigation command puts on the message window; an absent field stays as it is.
struct LogPage {
    std::optional<std::string> caption;
    std::optional<std::string> text;
};

// Splits an entry at its first CR LF and turns "#13"/"#10" back into line breaks. An entry
// without CR LF leaves the caption alone and is the whole body.
LogPage ReadLogEntry(const std::string& entry);

class MessageLog {
  public:
    // Appends the entry and makes it the current one.
    void Append(const std::string& caption, const std::string& text);

    // Position := count - 1; the newest entry, or nothing to change when the log is empty.
    LogPage Last();
    // One step back; before the first entry the position stays at -1 with the first-message note.
    LogPage Previous(const std::string& firstMessageNote);
    // One step on; past the last entry the position stays at count with the last-message note.
    LogPage Next(const std::string& lastMessageNote);

    int Count() const;
    int Position() const;  // -1 .. Count()
    std::vector<std::string> Entries() const;

  private:
    LogPage PageAt(int position) const;

    mutable std::mutex mutex_;
    std::vector<std::string> entries_;
    int position_ = -1;
};

}  // namespace vantor
