// WildcardMatch against a plain transcription of the backtracking matcher it replaces.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/text.h"
#include "lists/pattern.h"

namespace vantor {
namespace {

// The reference: recursive, exponential in the worst case, obviously faithful.
bool ReferenceRest(const std::string& s, std::size_t si, const std::string& m, std::size_t mi) {
    for (;;) {
        if (si == s.size() && mi == m.size()) return true;
        if (m.size() - mi == 1 && m[mi] == '*') return true;
        if (si == s.size()) {
            while (mi < m.size() && m[mi] == '*') ++mi;
            return mi == m.size();
        }
        if (mi == m.size()) return false;
        if (m[mi] == '?') {
            ++si;
            ++mi;
            continue;
        }
        if (m[mi] == '*') {
            ++mi;
            for (; si < s.size(); ++si)
                if (ReferenceRest(s, si, m, mi)) return true;
            return false;
        }
        if (s[si] != m[mi]) return false;
        ++si;
        ++mi;
    }
}

bool ReferenceMatch(const std::string& text, const std::string& mask) {
    if (text.empty()) return false;
    return ReferenceRest(LowerCase1251(text), 0, LowerCase1251(mask), 0);
}

std::string RandomString(std::mt19937& rng, const std::string& alphabet, std::size_t maxLen) {
    std::uniform_int_distribution<std::size_t> lenDist(0, maxLen);
    std::uniform_int_distribution<std::size_t> charDist(0, alphabet.size() - 1);
    std::string out(lenDist(rng), ' ');
    for (char& c : out) c = alphabet[charDist(rng)];
    return out;
}

TEST(WildcardProperty, AgreesWithBacktrackingMatcherOnRandomInputs) {
    std::mt19937 rng(20261207);
    // Mixed case, Cyrillic pairs (\xE0/\xC0, \xB8/\xA8) and a byte without a case partner.
    const std::string textAlphabet = "abAB\xE0\xC0\xB8\xA8\x01";
    const std::string maskAlphabet = "abAB\xE0\xC0\xB8\xA8\x01**??";
    int matches = 0;
    const int kCases = 60000;
    for (int i = 0; i < kCases; ++i) {
        const std::string text = RandomString(rng, textAlphabet, 8);
        const std::string mask = RandomString(rng, maskAlphabet, 7);
        const bool expected = ReferenceMatch(text, mask);
        ASSERT_EQ(WildcardMatch(text, mask), expected) << "text=" << text << " mask=" << mask;
        matches += expected ? 1 : 0;
    }
    // The sample must exercise both answers or the comparison proves little.
    EXPECT_GT(matches, kCases / 20);
    EXPECT_LT(matches, kCases - kCases / 20);
}

TEST(WildcardProperty, AgreesOnLongerInputsWithManyStars) {
    std::mt19937 rng(7);
    const std::string textAlphabet = "ab";
    const std::string maskAlphabet = "ab*?";
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomString(rng, textAlphabet, 16);
        const std::string mask = RandomString(rng, maskAlphabet, 10);
        ASSERT_EQ(WildcardMatch(text, mask), ReferenceMatch(text, mask))
            << "text=" << text << " mask=" << mask;
    }
}

TEST(WildcardProperty, ManyStarsOnLongTextFinishQuickly) {
    // The backtracking matcher never finishes these; the answer itself is plain to see.
    const std::string as(1000, 'a');
    EXPECT_FALSE(WildcardMatch(as, "*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(WildcardMatch(as + "b", "*a*a*a*a*a*a*a*a*b"));
    std::string thirty;
    for (int i = 0; i < 30; ++i) thirty += "*a";
    EXPECT_FALSE(WildcardMatch(as, thirty + "*b"));
    EXPECT_TRUE(WildcardMatch(as, thirty + "*"));
    EXPECT_FALSE(WildcardMatch(std::string(29, 'a'), thirty + "*"));
}

}  // namespace
}  // namespace vantor
