// History.txt: every message closed and every action of an advanced-list rule, one block per
// entry, kept across runs beside the program. A first line with the local time, the file name
// of the window's program, what was done and the caption, separated by TABs; then each line
// of the text with a TAB in front; then an empty line. Past its limit the file becomes
// History.old.txt and a new one begins. Here the decisions; history_writer_win32 appends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "watcher/message_sink.h"

namespace vantor {

inline constexpr char kHistoryFileName[] = "History.txt";
inline constexpr char kHistoryOldFileName[] = "History.old.txt";
// Shown once per run when an entry could not be written; closing goes on regardless.
inline constexpr std::string_view kHistoryFailedText =
    "History.txt cannot be written: closed messages are not recorded in it.";

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "2026-12-08 14:03:27".
std::string FormatLocalTime(const LocalTime& t);

// The file name of a process image path ("C:\Setup\setup.exe" -> "setup.exe"); "?" when
// the path could not be read (empty).
std::string ProgramFileName(std::string_view imagePath);

// The block of one entry, CR LF line ends. `program` is the file name (ProgramFileName).
std::string FormatHistoryEntry(const LocalTime& when, std::string_view program,
                               const DoneAction& action);

// HistoryKB as bytes; a value below 1 reads as the default 1024.
std::uint64_t HistoryLimitBytes(std::int32_t historyKB);

// Whether History.txt (`fileSize` bytes now) is renamed to History.old.txt before an entry of
// `entrySize` bytes is appended: when the entry would take it past the limit. An empty file
// is never renamed, so one entry larger than the limit still gets written.
bool ShouldRotateHistory(std::uint64_t fileSize, std::size_t entrySize, std::uint64_t limit);

// A rule that clicks a button repeats the click on every tick while the button stays: the
// same rule action on the same window with the same texts within kRepeatMs of the last one
// is one entry. Closed messages are never repeats. Timer thread only.
class HistoryRepeats {
  public:
    static constexpr std::uint32_t kRepeatMs = 2000;
    // True when `action` only repeats the last one; `now` is a GetTickCount value.
    bool IsRepeat(const DoneAction& action, std::uint32_t now);

  private:
    DoneAction last_;
    std::uint32_t at_ = 0;
    bool any_ = false;
};

}  // namespace vantor
