#include "ui/message_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace vantor {
namespace {

const std::string kFirst = "It was first message.";
const std::string kLast = "It was last message.";

TEST(MessageLogTest, EntriesComeBackAsTheyWere) {
    // Caption and text are kept apart: line breaks, "#13"/"#10" spelt out and a CR LF in the
    // caption all come back exactly.
    const std::pair<std::string, std::string> cases[] = {
        {"Setup", "A\r\nB"},
        {"", ""},
        {"T", "only LF\nhere"},
        {"T", "lone CR\r"},
        {"t", "x#13y#10z"},
        {"a\r\nb", "c"},
        {"\xCE\xF8\xE8\xE1\xEA\xE0", "\xD2\xE5\xEA\xF1\xF2"},
    };
    for (const auto& [caption, text] : cases) {
        MessageLog log;
        log.Append(caption, text);
        const LogPage page = log.Last();
        ASSERT_TRUE(page.caption && page.text);
        EXPECT_EQ(*page.caption, caption);
        EXPECT_EQ(*page.text, text);
    }
}

TEST(MessageLogTest, OnlyTheNewestAreKeptAndPagingWorksAcrossTheCut) {
    MessageLog log;
    for (int i = 0; i < 1005; ++i) log.Append("c" + std::to_string(i), "t");
    EXPECT_EQ(log.Count(), 1000);
    EXPECT_EQ(*log.Last().caption, "c1004");
    for (int i = 0; i < 999; ++i) log.Previous(kFirst);
    EXPECT_EQ(*log.Next(kLast).caption, "c6");
    EXPECT_EQ(*log.Previous(kFirst).caption, "c5");
    EXPECT_EQ(*log.Previous(kFirst).text, kFirst);

    // 16 MiB of text: three 7 MiB messages keep two; one larger than all keeps only itself.
    const std::string seven(7u << 20, 'x');
    for (const char* caption : {"a", "b", "c"}) log.Append(caption, seven);
    EXPECT_EQ(log.Count(), 2);
    EXPECT_EQ(*log.Previous(kFirst).caption, "b");
    log.Append("huge", std::string(20u << 20, 'y'));
    EXPECT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Last().text->size() + 4, kMaxLogBytes);
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
    EXPECT_EQ(log.Count(), static_cast<int>(kMaxLogEntries));  // the newest kept
    EXPECT_EQ(*log.Last().text, "line\r\n" + std::to_string(kAppends - 1));
}

}  // namespace
}  // namespace vantor
