// Case change, counting and select-all on another program's edit control.
#include "watcher/keyboard_helpers.h"

#include <gtest/gtest.h>

#include "fake_window_system.h"

namespace vantor::testing {
namespace {

TEST(KeyboardHelpers, SeparatorsAreExactlyTheTwentyFour) {
    const std::string separators = "\t\n\r !\"'()+,./:;?[\\]`{|}~";
    int count = 0;
    for (int ch = 0; ch < 256; ++ch) {
        const bool expected = separators.find(static_cast<char>(ch)) != std::string::npos;
        EXPECT_EQ(IsSeparator(static_cast<unsigned char>(ch)), expected) << "byte " << ch;
        count += IsSeparator(static_cast<unsigned char>(ch)) ? 1 : 0;
    }
    EXPECT_EQ(count, 24);
}

TEST(KeyboardHelpers, ChangeCaseAndCapitalizeWords) {
    struct Case {
        std::string piece;
        bool up;
        bool first;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // Counting: only texts written exactly as IntText writes them.
        {"99", true, false, "100"},
        {"100", false, false, "99"},
        {"-1", true, false, "0"},
        {"0", false, true, "-1"},
        {"2147483647", true, false, "-2147483648"},
        {"-2147483648", false, false, "2147483647"},
        {"007", true, false, "007"},
        {"+5", true, false, "+5"},
        {"-0", false, false, "-0"},
        {"", true, true, ""},
        {"12abc", true, false, "12ABC"},
        // Letters.
        {"hello world", true, false, "HELLO WORLD"},
        {"hello world", true, true, "Hello World"},
        {"Hello World", true, true, "HELLO WORLD"},
        {"HELLO WORLD", false, true, "hello world"},
        {"McDonald", true, true, "MCDONALD"},
        {"a", true, true, "A"},
        {"jean-luc o'neil", true, true, "Jean-luc O'Neil"},
        {"x(y)z_w@v", true, true, "X(Y)Z_w@v"},
        {"1abc def", true, true, "1abc Def"},
        {"\xEF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0", true, true,
         "\xCF\xF0\xE8\xE2\xE5\xF2 \xCC\xE8\xF0"},
        {"\xB8\xEB\xEA\xE0", true, false, "\xA8\xCB\xCA\xC0"},
        {"\xA8\xCB\xCA\xC0", false, false, "\xB8\xEB\xEA\xE0"},
        {"\xC0\xE1\xE2", true, true, "\xC0\xC1\xC2"},  // has a capital: upper case
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChangeCase(c.piece, c.up, c.first), c.expected)
            << "'" << c.piece << "' up=" << c.up << " first=" << c.first;
    }
    EXPECT_EQ(CapitalizeWords("hELLO wORLD"), "Hello World");
    EXPECT_EQ(CapitalizeWords("\tab"), "\tAb");
}

struct CaretCase {
    const char* name;
    std::string text;
    std::int32_t selStart;
    std::int32_t selEnd;
    bool up;
    bool first;
    std::string after;
    std::int32_t afterStart;
    std::int32_t afterEnd;
    std::vector<std::string> sent;  // commands, without the edit's handle
};

TEST(KeyboardHelpers, ChangeCaseAtCaret) {
    const std::vector<CaretCase> cases = {
        {"caret inside a word",
         "the quick fox",
         6,
         6,
         true,
         false,
         "the QUICK fox",
         6,
         6,
         {"EM_SETSEL 4 9", "EM_REPLACESEL 'QUICK'", "EM_SETSEL 6 6"}},
        {"first letters",
         "the quick fox",
         6,
         6,
         true,
         true,
         "the Quick fox",
         6,
         6,
         {"EM_SETSEL 4 9", "EM_REPLACESEL 'Quick'", "EM_SETSEL 6 6"}},
        {"caret at the start of the text",
         "abc def",
         0,
         0,
         true,
         false,
         "ABC def",
         0,
         0,
         {"EM_SETSEL 0 3", "EM_REPLACESEL 'ABC'", "EM_SETSEL 0 0"}},
        {"caret at the end of the text", "abc def", 7, 7, false, false, "abc def", 7, 7, {}},
        {"counting up keeps the caret at the end",
         "x 99",
         4,
         4,
         true,
         false,
         "x 100",
         5,
         5,
         {"EM_SETSEL 2 4", "EM_REPLACESEL '100'", "EM_SETSEL 5 5"}},
        {"counting down keeps the caret at the end",
         "x 100.",
         5,
         5,
         false,
         false,
         "x 99.",
         4,
         4,
         {"EM_SETSEL 2 5", "EM_REPLACESEL '99'", "EM_SETSEL 4 4"}},
        {"counting inside the number",
         "99",
         1,
         1,
         true,
         false,
         "100",
         1,
         1,
         {"EM_SETSEL 0 2", "EM_REPLACESEL '100'", "EM_SETSEL 1 1"}},
        {"minus one counts to zero",
         "-1",
         2,
         2,
         true,
         false,
         "0",
         1,
         1,
         {"EM_SETSEL 0 2", "EM_REPLACESEL '0'", "EM_SETSEL 1 1"}},
        {"selection stays selected",
         "ABC def",
         0,
         7,
         false,
         false,
         "abc def",
         0,
         7,
         {"EM_REPLACESEL 'abc def'", "EM_SETSEL 0 7"}},
        {"selected number grows",
         "a 9 b",
         2,
         3,
         true,
         false,
         "a 10 b",
         2,
         4,
         {"EM_REPLACESEL '10'", "EM_SETSEL 2 4"}},
        {"caret between two spaces", "a  b", 2, 2, true, false, "a  b", 2, 2, {}},
        {"already upper case", "ABC", 1, 1, true, false, "ABC", 1, 1, {}},
        {"caret beyond the text", "abc", 50, 50, true, false, "abc", 50, 50, {}},
        {"selection beyond the text",
         "abc",
         1,
         90,
         true,
         false,
         "aBC",
         1,
         3,
         {"EM_REPLACESEL 'BC'", "EM_SETSEL 1 3"}},
        {"CR LF ends a word",
         "one\r\ntwo",
         3,
         3,
         true,
         false,
         "ONE\r\ntwo",
         3,
         3,
         {"EM_SETSEL 0 3", "EM_REPLACESEL 'ONE'", "EM_SETSEL 3 3"}},
    };
    for (const auto& c : cases) {
        FakeWindowSystem ws;
        const WindowHandle top = ws.AddTopLevel("Notepad", "", 5);
        const WindowHandle edit = ws.AddChild(top, "Edit", c.text);
        ws.Window(edit).selStart = c.selStart;
        ws.Window(edit).selEnd = c.selEnd;
        ChangeCaseAtCaret(ws, edit, c.text, c.up, c.first);
        std::vector<std::string> sent;
        for (const auto& s : c.sent) {
            const auto space = s.find(' ');
            sent.push_back(Msg(s.substr(0, space), edit, s.substr(space + 1)));
        }
        EXPECT_EQ(ws.Commands(), sent) << c.name << "\n" << DumpSequences(sent, ws.Commands());
        if (c.afterStart <= static_cast<std::int32_t>(c.after.size())) {
            EXPECT_EQ(ws.Window(edit).text, c.after) << c.name;
            EXPECT_EQ(ws.Window(edit).selStart, c.afterStart) << c.name;
            EXPECT_EQ(ws.Window(edit).selEnd, c.afterEnd) << c.name;
        }
    }
}

TEST(KeyboardHelpers, SilentOrVanishedControlsGetNothing) {
    FakeWindowSystem ws;
    const WindowHandle top = ws.AddTopLevel("Notepad", "");
    const WindowHandle edit = ws.AddChild(top, "Edit", "abc");
    ws.Window(edit).hung = true;
    ChangeCaseAtCaret(ws, edit, "abc", true, false);
    EXPECT_TRUE(ws.Commands().empty());
    ChangeCaseAtCaret(ws, 777, "abc", true, false);
    EXPECT_TRUE(ws.Commands().empty());

    ws.Window(edit).hung = false;
    ws.Window(edit).selStart = 1;
    ws.Window(edit).selEnd = 1;
    SelectAllText(ws, edit);
    EXPECT_EQ(ws.Commands(), std::vector<std::string>{Msg("EM_SETSEL", edit, "0 -1")});
    EXPECT_EQ(ws.Window(edit).selStart, 0);
    EXPECT_EQ(ws.Window(edit).selEnd, 3);
}

}  // namespace
}  // namespace vantor::testing
