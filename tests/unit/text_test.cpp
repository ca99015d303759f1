#include "base/text.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(CaseTables, HaveTheSeventyThreePairsOfCodePage1251) {
    int pairs = 0;
    for (int c = 0; c < 256; ++c) {
        const unsigned char up = Upper1251(static_cast<unsigned char>(c));
        if (up != c) {
            ++pairs;
            EXPECT_EQ(Lower1251(up), c) << "lower table is not the inverse at " << c;
        }
    }
    EXPECT_EQ(pairs, 73);
    EXPECT_EQ(Upper1251(0xB8), 0xA8);  // yo
    EXPECT_EQ(Upper1251(0xFF), 0xDF);  // ya
    EXPECT_EQ(Lower1251(0xBD), 0xBE);
    EXPECT_EQ(Upper1251(0xB5), 0xB5);  // micro sign has no pair
}

TEST(TextPrimitives, SearchAndCompare) {
    struct Case {
        const char* sub;
        const char* text;
        int start;
        int noCase;
        int withCase;
    } cases[] = {
        {"ok", "Book", 1, 3, 3},
        {"OK", "Book", 1, 3, 0},
        {"click ok", "Click OK when program terminates", 1, 1, 0},
        {"\xCF\xD0\xC8", "\xEF\xF0\xE8\xE2\xE5\xF2", 1, 1, 0},  // Cyrillic upper vs lower
        {"a", "aaa", 2, 2, 2},
        {"a", "aaa", 4, 0, 0},
        {"aa", "aaa", 3, 0, 0},
        {"", "abc", 1, 0, 0},
        {"a", "", 1, 0, 0},
        {"abcd", "abc", 1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PosNoCase(c.sub, c.text, c.start), c.noCase) << c.sub << " in " << c.text;
        EXPECT_EQ(PosCase(c.sub, c.text, c.start), c.withCase) << c.sub << " in " << c.text;
    }
    EXPECT_TRUE(SameTextNoCase("", ""));
    EXPECT_TRUE(SameTextNoCase("\xE0\xB8z", "\xC0\xA8Z"));
    EXPECT_FALSE(SameTextNoCase("ab", "abc"));
}

TEST(TextPrimitives, TrimBlankReplaceParse) {
    EXPECT_EQ(TrimText(" \t\x01 a b \r\n"), "a b");
    EXPECT_EQ(TrimText("\x7F"), "\x7F");
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t\x1F "));
    EXPECT_FALSE(IsBlank(" \xA0"));
    EXPECT_EQ(ReplaceAll("aXbxc", "x", "--", false), "a--b--c");
    EXPECT_EQ(ReplaceAll("aXbxc", "x", "--", true), "aXb--c");
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "a", true), "aa");
    EXPECT_EQ(ReplaceAll("abc", "", "z", true), "abc");

    struct {
        const char* text;
        std::int32_t value;
    } ints[] = {{"12abc", 12}, {"-7", -7}, {"+8", 8}, {" 5", 0}, {"", 0}, {"-", 0},
                {"2147483647", 2147483647}, {"2147483648", -2147483647 - 1},
                {"4294967297", 1}, {"-2147483648", -2147483647 - 1}, {"0x10", 0}};
    for (const auto& c : ints) EXPECT_EQ(ParseInt(c.text), c.value) << c.text;
    EXPECT_EQ(IntText(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntText(0), "0");
}

}  // namespace
}  // namespace vantor
