// The history file's blocks and when it is renamed to History.old.txt.
#include "ui/history.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(History, EntryBlocks) {
    const LocalTime at{2026, 12, 8, 4, 3, 7};
    struct Row {
        const char* name;
        std::string program;  // the image path as read, "" unreadable
        DoneAction action;
        std::string block;
    };
    const std::vector<Row> rows = {
        {"a closed message, its lines each behind a TAB, an empty one kept",
         "C:\\Setup\\setup.exe",
         {DoneAction::kClosed, 1, 7, "Setup", "Disk full\r\n\r\nRetry later"},
         "2026-12-08 04:03:07\tsetup.exe\tclosed\tSetup\r\n\tDisk full\r\n\t\r\n\tRetry later\r\n"
         "\r\n"},
        {"black-listed; program unreadable; lone LF and CR end lines too",
         "",
         {DoneAction::kClosedNotShown, 1, 0, "C", "a\nb\rc\r\n"},
         "2026-12-08 04:03:07\t?\tclosed, not shown\tC\r\n\ta\r\n\tb\r\n\tc\r\n\r\n"},
        {"a rule: its first line says what, the child text follows",
         "/opt/x/wizard.exe",
         {DoneAction::kRule, 1, 7, "Wizard", "Pressed button 'Next'\r\n\r\nRead the\r\nlicence"},
         "2026-12-08 04:03:07\twizard.exe\trule: Pressed button 'Next'\tWizard\r\n"
         "\tRead the\r\n\tlicence\r\n\r\n"},
        {"a rule without text; the caption's TAB and line ends stay on its line",
         "w.exe",
         {DoneAction::kRule, 1, 7, "a\tb\r\nc", "Closed"},
         "2026-12-08 04:03:07\tw.exe\trule: Closed\ta#9b#13#10c\r\n\r\n"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FormatHistoryEntry(at, ProgramFileName(r.program), r.action), r.block) << r.name;
    }
}

TEST(History, RotationAndLimit) {
    const struct {
        std::uint64_t size;
        std::size_t entry;
        std::int32_t kb;
        bool rotate;
    } rows[] = {
        {0, 10, 1, false},          // missing or empty: never renamed
        {0, 5000, 1, false},        // one entry over the limit is still written
        {1000, 24, 1, false},       // reaches the limit exactly
        {1000, 25, 1, true},        // would pass it
        {1048000, 700, 1024, true},
        {1048000, 500, 0, false},   // 0 and below read as 1024
        {1048000, 700, -5, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ShouldRotateHistory(r.size, r.entry, HistoryLimitBytes(r.kb)), r.rotate)
            << r.size << " + " << r.entry << " at " << r.kb << " KB";
    }
}

TEST(History, ARepeatedRuleActionIsOneEntryUntilItPauses) {
    HistoryRepeats repeats;
    const DoneAction click{DoneAction::kRule, 5, 7, "Wizard", "Pressed button 'Next'"};
    DoneAction other = click;
    other.window = 6;
    const DoneAction closed{DoneAction::kClosed, 5, 7, "Wizard", "Disk full"};
    const struct {
        const DoneAction* action;
        std::uint32_t at;
        bool repeat;
    } steps[] = {
        {&click, 1000, false}, {&click, 1050, true},  {&click, 2900, true},
        {&click, 4800, true},  {&click, 6900, false},  // paused more than 2 s
        {&other, 6950, false}, {&click, 7000, false},  // another window came between
        {&closed, 7010, false}, {&closed, 7020, false},  // the closer reports each close once
    };
    for (const auto& s : steps) EXPECT_EQ(repeats.IsRepeat(*s.action, s.at), s.repeat) << s.at;
}

}  // namespace
}  // namespace vantor
