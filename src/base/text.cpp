#include "base/text.h"

#include <array>

namespace vantor {
namespace {

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
};

// The case pairs (lower, upper) of code page 1251; every other byte maps to itself.
constexpr CaseTables MakeTables() {
    CaseTables t;
    for (int i = 0; i < 256; ++i) {
        t.upper[i] = static_cast<unsigned char>(i);
        t.lower[i] = static_cast<unsigned char>(i);
    }
    auto pair = [&t](int lo, int up) {
        t.upper[lo] = static_cast<unsigned char>(up);
        t.lower[up] = static_cast<unsigned char>(lo);
    };
    for (int i = 0; i < 26; ++i) pair(0x61 + i, 0x41 + i);
    for (int i = 0; i < 32; ++i) pair(0xE0 + i, 0xC0 + i);
    pair(0xB8, 0xA8);
    pair(0x83, 0x81);
    pair(0x90, 0x80);
    pair(0x9A, 0x8A);
    for (int i = 0; i < 4; ++i) pair(0x9C + i, 0x8C + i);
    pair(0xA2, 0xA1);
    pair(0xB3, 0xB2);
    pair(0xB4, 0xA5);
    pair(0xBA, 0xAA);
    pair(0xBC, 0xA3);
    pair(0xBE, 0xBD);
    pair(0xBF, 0xAF);
    return t;
}

constexpr CaseTables kTables = MakeTables();

template <typename Eq>
int Find(std::string_view sub, std::string_view text, int start, Eq eq) {
    if (sub.empty() || text.empty()) return 0;
    if (start < 1) start = 1;
    const std::size_t n = text.size();
    const std::size_t m = sub.size();
    if (m > n) return 0;
    for (std::size_t i = static_cast<std::size_t>(start) - 1; i + m <= n; ++i) {
        std::size_t j = 0;
        while (j < m && eq(static_cast<unsigned char>(text[i + j]),
                           static_cast<unsigned char>(sub[j])))
            ++j;
        if (j == m) return static_cast<int>(i + 1);
    }
    return 0;
}

}  // namespace

unsigned char Upper1251(unsigned char c) { return kTables.upper[c]; }
unsigned char Lower1251(unsigned char c) { return kTables.lower[c]; }

std::string UpperCase1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(Upper1251(static_cast<unsigned char>(c)));
    return out;
}

std::string LowerCase1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(Lower1251(static_cast<unsigned char>(c)));
    return out;
}

bool SameTextNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper1251(static_cast<unsigned char>(a[i])) !=
            Upper1251(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int PosNoCase(std::string_view sub, std::string_view text, int start) {
    return Find(sub, text, start,
                [](unsigned char x, unsigned char y) { return Upper1251(x) == Upper1251(y); });
}

int PosCase(std::string_view sub, std::string_view text, int start) {
    return Find(sub, text, start, [](unsigned char x, unsigned char y) { return x == y; });
}

bool IsBlankByte(unsigned char c) {
    return c <= 32;
}

std::string_view TrimmedView(std::string_view text, bool (*isBlank)(unsigned char)) {
    std::size_t b = 0, e = text.size();
    while (b < e && isBlank(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && isBlank(static_cast<unsigned char>(text[e - 1]))) --e;
    return text.substr(b, e - b);
}

std::string TrimText(std::string_view text) {
    return std::string(TrimmedView(text));
}

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > 32) return false;
    return true;
}

std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText,
                       bool caseSensitive) {
    if (oldText.empty()) return std::string(text);
    std::string out;
    int from = 1;
    for (;;) {
        const int p = caseSensitive ? PosCase(oldText, text, from) : PosNoCase(oldText, text, from);
        if (p == 0) break;
        out.append(text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(p - from)));
        out.append(newText);
        from = p + static_cast<int>(oldText.size());
    }
    out.append(text.substr(static_cast<std::size_t>(from - 1)));
    return out;
}

std::int32_t ParseInt(std::string_view text, NumberForm form) {
    const bool profile = form == NumberForm::kProfile;
    std::size_t i = 0;
    while (profile && i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::uint32_t base = 10;
    if (profile && text.size() - i >= 2 && text[i] == '0') {
        if (text[i + 1] == 'b') base = 2;
        if (text[i + 1] == 'o') base = 8;
        if (text[i + 1] == 'x') base = 16;
        if (base != 10) i += 2;
    }
    std::uint32_t value = 0;  // unsigned arithmetic wraps like the 32-bit original
    for (; i < text.size(); ++i) {
        const char c = text[i];
        std::uint32_t digit = base;
        if (c >= '0' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        if (c >= 'A' && c <= 'Z') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        if (c >= 'a' && c <= 'z') digit = static_cast<std::uint32_t>(c - 'a' + 10);
        if (digit >= base) break;
        value = value * base + digit;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::string IntText(std::int32_t value) { return std::to_string(value); }

}  // namespace vantor
