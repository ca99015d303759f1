#include "ui/message_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace vantor {
namespace {

const std::string kFirst = "It was first message.";
const std::string kLast = "It was last message.";

TEST(MessageLogTest, EntryFormatAndReadBack) {
    struct Case {
        std::string caption, text, entry;
    };
    const Case cases[] = {
        {"Setup", "A\r\nB", "Setup\r\nA#13#10B"},
        {"", "", "\r\n"},
        {"T", "only LF\nhere", "T\r\nonly LF#10here"},
        {"T", "lone CR\r", "T\r\nlone CR#13"},
        {"\xCE\xF8\xE8\xE1\xEA\xE0", "\xD2\xE5\xEA\xF1\xF2",
         "\xCE\xF8\xE8\xE1\xEA\xE0\r\n\xD2\xE5\xEA\xF1\xF2"},
    };
    for (const auto& c : cases) {
        const std::string entry = FormatLogEntry(c.caption, c.text);
        EXPECT_EQ(entry, c.entry) << c.caption;
        const LogPage page = ReadLogEntry(entry);
        ASSERT_TRUE(page.caption && page.text);
        EXPECT_EQ(*page.caption, c.caption);
        EXPECT_EQ(*page.text, c.text);
    }
}

TEST(MessageLogTest, ReadBackOddEntries) {
    // No CR LF: caption untouched, the whole entry is the body.
    LogPage page = ReadLogEntry("no line break#13#10x");
    EXPECT_FALSE(page.caption.has_value());
    EXPECT_EQ(*page.text, "no line break\r\nx");
    // A caption that itself held CR LF splits at the first one; the rest stays in the body.
    page = ReadLogEntry(FormatLogEntry("a\r\nb", "c"));
    EXPECT_EQ(*page.caption, "a");
    EXPECT_EQ(*page.text, "b\r\nc");
    // A message whose own text spells "#13" comes back as a line break (not reversible).
    page = ReadLogEntry(FormatLogEntry("t", "x#13y"));
    EXPECT_EQ(*page.text, "x\ry");
}

TEST(MessageLogTest, Navigation) {
    // Each step: command ('L'ast, 'P'revious, 'N'ext), expected position, caption, text.
    struct Step {
        char command;
        int position;
        const char* caption;  // nullptr: left unchanged
        const char* text;
    };
    struct Case {
        const char* name;
        int entries;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"empty log",
         0,
         {{'L', -1, nullptr, nullptr},
          {'P', -1, "Vantor", kFirst.c_str()},
          {'N', 0, "Vantor", kLast.c_str()},
          {'P', -1, "Vantor", kFirst.c_str()}}},
        {"back past the first",
         3,
         {{'P', 1, "c1", "t1"},
          {'P', 0, "c0", "t0"},
          {'P', -1, "Vantor", kFirst.c_str()},
          {'P', -1, "Vantor", kFirst.c_str()},
          {'N', 0, "c0", "t0"}}},
        {"on past the last",
         3,
         {{'N', 3, "Vantor", kLast.c_str()},
          {'N', 3, "Vantor", kLast.c_str()},
          {'P', 2, "c2", "t2"},
          {'L', 2, "c2", "t2"}}},
        {"last after paging",
         3,
         {{'P', 1, "c1", "t1"}, {'P', 0, "c0", "t0"}, {'L', 2, "c2", "t2"}}},
    };
    for (const auto& c : cases) {
        MessageLog log;
        for (int i = 0; i < c.entries; ++i) {
            log.Append("c" + std::to_string(i), "t" + std::to_string(i));
        }
        EXPECT_EQ(log.Position(), c.entries - 1) << c.name;
        int index = 0;
        for (const auto& step : c.steps) {
            LogPage page = step.command == 'L'   ? log.Last()
                           : step.command == 'P' ? log.Previous(kFirst)
                                                 : log.Next(kLast);
            SCOPED_TRACE(std::string(c.name) + " step " + std::to_string(index++));
            EXPECT_EQ(log.Position(), step.position);
            EXPECT_EQ(page.caption.has_value(), step.caption != nullptr);
            if (step.caption && page.caption) {
                EXPECT_EQ(*page.caption, step.caption);
            }
            EXPECT_EQ(page.text.has_value(), step.text != nullptr);
            if (step.text && page.text) {
                EXPECT_EQ(*page.text, step.text);
            }
        }
    }
}

TEST(MessageLogTest, NewEntryBecomesCurrent) {
    MessageLog log;
    log.Append("a", "1");
    log.Append("b", "2");
    log.Next(kLast);
    EXPECT_EQ(log.Position(), 2);
    log.Append("c", "3");
    EXPECT_EQ(log.Position(), 2);
    EXPECT_EQ(*log.Previous(kFirst).caption, "b");
}

TEST(MessageLogTest, ThreadedAppendsWhileReading) {
    MessageLog log;
    constexpr int kAppends = 2000;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < kAppends; ++i) log.Append("cap", "line\r\n" + std::to_string(i));
        done = true;
    });
    int lastCount = 0;
    while (!done) {
        const int count = log.Count();
        EXPECT_GE(count, lastCount);
        lastCount = count;
        LogPage page = log.Previous(kFirst);
        ASSERT_TRUE(page.text.has_value());
        const int pos = log.Position();
        EXPECT_GE(pos, -1);
        EXPECT_LE(pos, log.Count());
        page = log.Next(kLast);
        if (page.caption && *page.caption == "cap") {
            EXPECT_EQ(page.text->rfind("line\r\n", 0), 0u) << *page.text;
        }
    }
    writer.join();
    EXPECT_EQ(log.Count(), kAppends);
    EXPECT_EQ(*log.Last().text, "line\r\n" + std::to_string(kAppends - 1));
}

}  // namespace
}  // namespace vantor
