// The text the message-dialog analysis makes of a message box: its labels joined and trimmed,
// and the one-line log entry.
#include <gtest/gtest.h>

#include "base/text.h"
#include "watcher/dialog_closer.h"
#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

TEST(ExamineWindow, LabelTextsJoinAsTheTrimmedConcatenation) {
    struct Case {
        std::vector<std::string> labels;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"  first ", "", "second\n"}, "first\r\n\r\nsecond"},
        {{"", " \t", ""}, ""},
        {{" a", "  b  ", "\r\nc"}, "a\r\n\r\n  b\r\n\r\n\r\nc"},  // inner ends stay
        {{"x\r\n\r\n", " "}, "x"},
        {{"\x01lead", "tail\x1F"}, "lead\r\n\r\ntail"},  // every code up to 32 is trimmed
        {{"\xA0nbsp\xA0"}, "\xA0nbsp\xA0"},              // 0xA0 is not
        {{}, ""},
    };
    for (const auto& c : cases) {
        std::string collected;
        std::string byDefinition;
        for (const auto& label : c.labels) {
            AppendLabelText(collected, label);
            byDefinition = TrimText(byDefinition + "\r\n\r\n" + label);
        }
        EXPECT_EQ(collected, c.expected);
        EXPECT_EQ(collected, byDefinition);
    }
    // Many labels join in one growing text.
    std::string collected;
    for (int i = 0; i < 20000; ++i) AppendLabelText(collected, " ab ");
    EXPECT_EQ(collected.size(), 2u + 19999u * (4 + 3));  // "ab", then CR LF CR LF " ab"
}

TEST(ExamineWindow, LogEntryIsOneLine) {
    struct Case {
        std::string caption;
        std::string text;
        std::string entry;
    };
    const std::vector<Case> cases = {
        {"Setup", "A\r\nB", "Setup\r\nA#13#10B"},
        {"C", "a\rb\nc", "C\r\na#13b#10c"},
        {"C", "#13 stays", "C\r\n#13 stays"},
        {"", "", "\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(MakeLogEntry(c.caption, c.text), c.entry);

    // A label 'a' LF 'b' reaches the log as 'a' CR LF 'b' (the caption probe pairs the LF).
    Desk desk;
    const WindowHandle w = desk.AddMessageBox("Cap", "a\nb");
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    closer.ExamineWindow(w, false);
    ASSERT_GE(desk.sink.calls.size(), 2u);
    EXPECT_EQ(desk.sink.calls[1], "log 'Cap' 'a\r\nb'");
    EXPECT_EQ(MakeLogEntry("Cap", "a\r\nb"), "Cap\r\na#13#10b");
}

}  // namespace
}  // namespace vantor::testing
