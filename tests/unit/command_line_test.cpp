#include "settings/command_line.h"
#include "shell/instance_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, SplitsLikeTheProgramAlwaysHas) {
    struct Case {
        std::string line;
        Args expected;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"   \t ", {}},
        {"C:\\Vantor\\vantor.exe /isexitbutton", {"C:\\Vantor\\vantor.exe", "/isexitbutton"}},
        {"\"C:\\Program Files\\Vantor\\vantor.exe\"  -istimer",
         {"C:\\Program Files\\Vantor\\vantor.exe", "-istimer"}},
        {"a \"\" b", {"a", "b"}},
        {"\"\"\"\"", {"\"\""}},
        {"\"", {"\""}},
        {"x \"a b\"c", {"x", "\"a b\"c"}},
        {"/color=\"ff 00\"", {"/color=\"ff 00\""}},
        {"a \"b c", {"a", "\"b c"}},  // an open quote runs to the end
        {"a\tb\x01"
         "c\x1f"
         "d",
         {"a", "b", "c", "d"}},
        {"\xC0\xE0\xFF x", {"\xC0\xE0\xFF", "x"}},  // cp1251 bytes are not separators
        {std::string("a\0b", 3), {"a", "b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.expected) << c.line;
}

TEST(CommandLine, OptionWordsAndValues) {
    const MainSettings defaults;
    struct Case {
        std::string line;
        void (*check)(const MainSettings&);
    };
    const std::vector<Case> cases = {
        {"vantor.exe /ISEXITBUTTON", [](const MainSettings& s) { EXPECT_TRUE(s.ExitVisible); }},
        {"vantor.exe -isexitbutton", [](const MainSettings& s) { EXPECT_TRUE(s.ExitVisible); }},
        {"vantor.exe isexitbutton", [](const MainSettings& s) { EXPECT_TRUE(s.ExitVisible); }},
        {"vantor.exe //isexitbutton", [](const MainSettings& s) { EXPECT_FALSE(s.ExitVisible); }},
        {"vantor.exe isexitbutton=1", [](const MainSettings& s) { EXPECT_FALSE(s.ExitVisible); }},
        {"vantor.exe \" isexitbutton\"",
         [](const MainSettings& s) { EXPECT_FALSE(s.ExitVisible); }},
        {"vantor.exe nocenter toclosed", [](const MainSettings& s) { EXPECT_FALSE(s.NoCenter); }},
        {"vantor.exe toclosed /NoCenter", [](const MainSettings& s) { EXPECT_TRUE(s.NoCenter); }},
        {"vantor.exe -IsTimer", [](const MainSettings& s) { EXPECT_TRUE(s.CloseButtonCountdown); }},
        {"vantor.exe timer=1000", [](const MainSettings& s) { EXPECT_EQ(s.ScannerPeriod, 1000); }},
        {"vantor.exe /TIMER=200", [](const MainSettings& s) { EXPECT_EQ(s.ScannerPeriod, 200); }},
        {"vantor.exe timer=0", [](const MainSettings& s) { EXPECT_EQ(s.ScannerPeriod, 50); }},
        {"vantor.exe timer=x", [](const MainSettings& s) { EXPECT_EQ(s.ScannerPeriod, 50); }},
        {"vantor.exe timer=-5", [](const MainSettings& s) { EXPECT_EQ(s.ScannerPeriod, 50); }},
        {"vantor.exe timer=5000000",
         [](const MainSettings& s) { EXPECT_EQ(s.ScannerPeriod, 60000); }},
        {"vantor.exe messagetime=10", [](const MainSettings& s) { EXPECT_EQ(s.MessageTime, 10); }},
        {"vantor.exe messagetime=7x", [](const MainSettings& s) { EXPECT_EQ(s.MessageTime, 7); }},
        {"vantor.exe messagetime = 5", [](const MainSettings& s) { EXPECT_EQ(s.MessageTime, 4); }},
        {"vantor.exe \"messagetime = 5\"",
         [](const MainSettings& s) { EXPECT_EQ(s.MessageTime, 4); }},
        {"vantor.exe messagetime=\" 5\"",
         [](const MainSettings& s) { EXPECT_EQ(s.MessageTime, 4); }},
        {"vantor.exe transparent=300",
         [](const MainSettings& s) { EXPECT_EQ(s.MessageTransparent, 255); }},
        {"vantor.exe transparent=50",
         [](const MainSettings& s) { EXPECT_EQ(s.MessageTransparent, 100); }},
        {"vantor.exe transparent=0",
         [](const MainSettings& s) { EXPECT_EQ(s.MessageTransparent, 222); }},
        {"vantor.exe transparent=150 transparent=180",
         [](const MainSettings& s) { EXPECT_EQ(s.MessageTransparent, 180); }},
        {"vantor.exe color=clBtnFace",
         [](const MainSettings& s) {
             EXPECT_EQ(BackgroundOf(s).kind, BackgroundKind::ButtonFace);
             EXPECT_TRUE(BackgroundOf(s).textAreaFollows);
         }},
        {"vantor.exe color=000000",
         [](const MainSettings& s) {
             EXPECT_EQ(BackgroundOf(s).kind, BackgroundKind::Unchanged);
             EXPECT_FALSE(BackgroundOf(s).textAreaFollows);
         }},
        {"vantor.exe -COLOR=FF0000",
         [](const MainSettings& s) {
             EXPECT_EQ(BackgroundOf(s).kind, BackgroundKind::Rgb);
             EXPECT_EQ(BackgroundOf(s).rgb, 0x0000FFu);
         }},
        // The program path is argument 0 and is looked at like the others.
        {"istimer", [](const MainSettings& s) { EXPECT_TRUE(s.CloseButtonCountdown); }},
        {"vantor.exe unknown=5 /what",
         [](const MainSettings& s) {
             EXPECT_EQ(s.MessageTime, 4);
             EXPECT_FALSE(s.ExitVisible);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        MainSettings s = defaults;
        ApplyCommandLine(SplitCommandLine(c.line), s);
        c.check(s);
    }
}

TEST(CommandLine, ValuesAreCutAt1024Bytes) {
    MainSettings s;
    ApplyOption("messagetime=" + std::string(1023, '0') + "9", s);
    EXPECT_EQ(s.MessageTime, 9);
    ApplyOption("messagetime=" + std::string(1024, '0') + "8", s);
    EXPECT_EQ(s.MessageTime, 9);  // the 8 lies past the limit: the value reads 0
}

TEST(CommandLine, HugeAndOddArgumentsAreHandled) {
    std::string line = "vantor.exe ";
    line += std::string(1 << 20, '\xE0');
    line += " \"" + std::string(70000, ' ') + "\" /toclosed";
    const Args args = SplitCommandLine(line);
    ASSERT_EQ(args.size(), 4u);
    EXPECT_EQ(args[1].size(), 1u << 20);
    EXPECT_EQ(args[2], std::string(70000, ' '));
    MainSettings s;
    ApplyCommandLine(args, s);
    EXPECT_FALSE(s.NoCenter);
}

// A script steers the running instance with one word alone; its answer gives the exit code.
TEST(CommandLine, SteeringWords) {
    using C = InstanceCommand;
    const struct {
        Args args;
        std::optional<C> command;
    } words[] = {
        {{"v.exe", "disable"}, C::kDisable}, {{"v.exe", "/ENABLE"}, C::kEnable},
        {{"v.exe", "-Exit"}, C::kExit},      {{"v.exe", "status"}, C::kStatus},
        {{"v.exe"}, std::nullopt},           {{"v.exe", "status", "istimer"}, std::nullopt},
        {{"v.exe", "stat"}, std::nullopt},   {{"v.exe", "//exit"}, std::nullopt},
    };
    for (const auto& w : words) EXPECT_EQ(InstanceCommandOf(w.args), w.command) << w.args.back();
    EXPECT_EQ(InstanceCommandFromCode(0), C::kNotice);
    EXPECT_EQ(InstanceCommandFromCode(4), C::kStatus);
    EXPECT_EQ(InstanceCommandFromCode(5), std::nullopt);
    EXPECT_EQ(InstanceCommandFromCode(0x7FFE1234ull << 16), std::nullopt);  // a pointer, say

    const auto on = InstanceAnswer(false);
    const auto off = InstanceAnswer(true);
    const struct {
        C command;
        std::optional<std::int64_t> answer;
        bool ended;
        int code;
    } codes[] = {
        {C::kStatus, on, false, 0},     {C::kStatus, off, false, 3},
        {C::kDisable, off, false, 0},   {C::kEnable, on, false, 0},
        {C::kExit, on, true, 0},        {C::kExit, on, false, 1},  // did not end in time
        {C::kStatus, std::nullopt, false, 1},                      // none answered
        {C::kDisable, 0, false, 1},     {C::kStatus, 1, false, 1},  // not Vantor's answers
    };
    for (const auto& c : codes) {
        EXPECT_EQ(CommandExitCode(c.command, c.answer, c.ended), c.code)
            << static_cast<int>(c.command) << " " << c.answer.value_or(-1);
    }
}

}  // namespace
}  // namespace vantor
