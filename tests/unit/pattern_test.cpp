// The pattern test of the rule lists and the white/black and replace lookups.
#include "lists/pattern.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace vantor {
namespace {

TEST(Pattern, WildcardMatchEdgeCases) {
    struct Case {
        const char* text;
        const char* mask;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"", "*", false},
        {"", "", false},
        {"", "?", false},
        {"x", "*", true},
        {"anything at all", "*", true},
        {"abc", "", false},
        {"Click OK", "click*", true},
        {"terminates.", "*terminates", false},
        {"terminates", "*terminates", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"abbc", "a?c", false},
        {"ac", "a*c", true},
        {"abbbc", "a*c", true},
        {"abcd", "a*c", false},
        {"abc", "abc", true},
        {"ABC", "abc", true},
        {"abc", "ab", false},
        {"ab", "abc", false},
        {"a", "a**", true},
        {"a", "**a**", true},
        {"abc", "*b*", true},
        {"abc", "*?*?*?*", true},
        {"ab", "*?*?*?*", false},
        {"aXbXc", "a*b*c", true},
        {"acb", "a*b*c", false},
        {"abab", "*ab", true},
        {"aab", "*ab*b", false},
        {"mississippi", "m*iss*ppi", true},
        {"mississippi", "m*iss*iss*ppi", true},
        {"mississippi", "m*iss*iss*iss*ppi", false},
        {"ab*c", "ab*c", true},  // no escape: "*" in the text is just a character
        {"\xCD\xE0\xE6\xEC\xE8\xF2\xE5 OK", "\xED\xC0\xC6*ok", true},  // Cyrillic case pairs
        {"\xA8\xEB\xEA\xE0", "\xB8?\xCA*", true},                      // capital and small yo
        {"\xA5", "\xB4", true},  // one of the odd pairs of the 1251 table
        {"\xFF", "\xDF", true},
        {"\xD7", "\xF7", true},
        {"\xD7", "\xD8", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.text, c.mask), c.expected)
            << "text='" << c.text << "' mask='" << c.mask << "'";
}

TEST(Pattern, MatchesPatternPlainAndWildcard) {
    struct Case {
        const char* text;
        const char* pattern;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"Click OK when program terminates", "click ok", true},
        {"Book", "ok", true},
        {"Book", "", false},
        {"", "", false},
        {"", "ok", false},
        {"Book", "books", false},
        {"Click OK", "click*", true},
        {"Click OK", "ok*", false},  // wildcard patterns are anchored
        {"terminates.", "*terminates", false},
        {"\xCD\xC5\xD2 \xD4\xC0\xC9\xCB\xCE\xC2", "\xF4\xE0\xE9\xEB", true},  // substring, Cyrillic
        {"\xB8\xEB\xEA\xE0", "\xA8\xCB", true},
        {"a|b", "|", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesPattern(c.text, c.pattern), c.expected)
            << "text='" << c.text << "' pattern='" << c.pattern << "'";
}

TEST(Pattern, ListContainsTextUsesTheFieldAfterTheBar) {
    struct Case {
        const char* name;
        ListEntries list;
        const char* text;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"field after bar", {"Error|disk"}, "Disk full", true},
        {"caption part ignored", {"Disk|full"}, "Disk error", false},
        {"empty field matches nothing", {"Error|"}, "Error", false},
        {"cut at the second bar", {"x|disk|full"}, "Disk error", true},
        {"third field ignored", {"x|nothing|Disk"}, "Disk error", false},
        {"text with bar skips plain entries", {"disk"}, "disk|full", false},
        {"text with bar uses bar entries", {"disk", "c|disk"}, "disk|full", true},
        {"plain entry", {"nothing", "FULL"}, "Disk full", true},
        {"wildcard entry anchored", {"disk*"}, "The disk is full", false},
        {"wildcard entry", {"*disk*is?full"}, "The disk is full", true},
        {"normalised empty entry matches nothing", {""}, "Disk", false},
        {"empty list", {}, "Disk", false},
        {"empty text", {"*", "a"}, "", false},
        {"star matches any text", {"*"}, "x", true},
        {"cyrillic case",
         {"\xED\xE5\xF2 \xE2\xFB\xE1\xF0\xE0\xED\xED\xFB\xF5"},
         "\xCD\xC5\xD2 \xC2\xDB\xC1\xD0\xC0\xCD\xCD\xDB\xD5 \xD4\xC0\xC9\xCB\xCE\xC2",
         true},
        {"white default with ?",
         {"*\xCD\xE0\xE6\xEC\xE8\xF2\xE5 ?OK? \xEF\xEE*"},
         "\xCD\xE0\xE6\xEC\xE8\xF2\xE5 \"OK\" \xEF\xEE \xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xE8",
         true},
        {"partial overlap then match", {"aab"}, "aaab", true},
        {"key longer than text", {"abcdef"}, "abc", false},
    };
    for (const Case& c : cases) EXPECT_EQ(ListContainsText(c.list, c.text), c.expected) << c.name;
}

TEST(Pattern, ListContainsTextAgreesWithMatchesPatternPerEntry) {
    // The list lookup lower-cases the text once; each answer must still be the per-entry test.
    const std::vector<std::string> keys = {"ok",  "OK?", "*k", "\xC0*", "?",   "b\xE0",
                                           "*?*", "kb",  "K",  "\xE0",  "*b*", "a?"};
    const std::vector<std::string> texts = {"Book", "\xC0\xE0", "ok?", "b\xC0", "k", "BK", "x"};
    for (const std::string& text : texts) {
        for (const std::string& key : keys) {
            EXPECT_EQ(ListContainsText({key}, text), MatchesPattern(text, key))
                << "text='" << text << "' key='" << key << "'";
        }
    }
}

TEST(Pattern, ListContainsTextOnLongListsAgreesWithEntryByEntryTests) {
    // Long lists and texts take the pair-filtered path; its answers must not change.
    std::mt19937 rng(1251);
    const std::string textAlphabet = "abcdeAB\xE0\xC0 ";
    const std::string keyAlphabet = "abcdeAB\xE0\xC0 *?";
    auto randomString = [&rng](const std::string& alphabet, std::size_t minLen,
                               std::size_t maxLen) {
        std::uniform_int_distribution<std::size_t> len(minLen, maxLen);
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        std::string s(len(rng), ' ');
        for (char& c : s) c = alphabet[pick(rng)];
        return s;
    };
    int found = 0;
    for (int round = 0; round < 400; ++round) {
        const std::string text = randomString(textAlphabet, 64, 120);
        ListEntries list;
        for (int i = 0; i < 20; ++i) list.push_back(randomString(keyAlphabet, 3, 4 + round % 8));
        bool expected = false;
        for (const std::string& key : list) expected = expected || MatchesPattern(text, key);
        ASSERT_EQ(ListContainsText(list, text), expected) << "round " << round;
        found += expected ? 1 : 0;
    }
    EXPECT_GT(found, 40);
    EXPECT_LT(found, 360);
}

TEST(Pattern, FindReplacementTakesTheFirstMatchingEntry) {
    const std::string longText(1500, 'r');
    struct Case {
        const char* name;
        ListEntries list;
        std::string caption;
        bool found;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"wildcard caption", {"Untitled*|My editor"}, "Untitled - Notepad", true, "My editor"},
        {"entry without bar unused",
         {"Untitled"},
         "Untitled - Notepad",
         false,
         "Untitled - Notepad"},
        {"first match wins", {"x|one", "Unt|two", "Untitled*|three"}, "Untitled", true, "two"},
        {"empty caption", {"*|x"}, "", false, ""},
        {"empty pattern never matches", {"|x"}, "caption", false, "caption"},
        {"replacement may be empty", {"cap|"}, "caption", true, ""},
        {"replacement keeps further bars", {"cap|a|b"}, "caption", true, "a|b"},
        {"replacement cut to 1024 bytes",
         {"cap|" + longText},
         "caption",
         true,
         std::string(1024, 'r')},
        {"anchored wildcard misses",
         {"Notepad*|x"},
         "Untitled - Notepad",
         false,
         "Untitled - Notepad"},
    };
    for (const Case& c : cases) {
        const Replacement r = FindReplacement(c.list, c.caption);
        EXPECT_EQ(r.found, c.found) << c.name;
        EXPECT_EQ(r.text, c.text) << c.name;
    }
}

}  // namespace
}  // namespace vantor
