// The text the message-dialog analysis makes of a message box: its labels joined and trimmed,
// and the log entry it makes of them.
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

TEST(ExamineWindow, LogEntryKeepsTheLabelsLineBreaks) {
    // A label 'a' LF 'b' reaches the log as 'a' CR LF 'b' (the caption probe pairs the LF).
    Desk desk;
    const WindowHandle w = desk.AddMessageBox("Cap", "a\nb");
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    closer.ExamineWindow(w, false);
    ASSERT_GE(desk.sink.calls.size(), 2u);
    EXPECT_EQ(desk.sink.calls[1], "log 'Cap' 'a\r\nb'");
}

}  // namespace
}  // namespace vantor::testing
