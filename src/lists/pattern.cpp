#include "lists/pattern.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "base/text.h"

namespace vantor {
namespace {

constexpr std::size_t kMaxReplacement = 1024;

unsigned char LowerAt(std::string_view s, std::size_t i) {
    return Lower1251(static_cast<unsigned char>(s[i]));
}

// A text compared byte by byte through the lower-case table.
struct RawText {
    std::string_view text;
    unsigned char At(std::size_t i) const { return LowerAt(text, i); }
    // First position >= from whose lower-cased byte is c, or npos.
    std::size_t Next(std::size_t from, unsigned char c) const {
        for (std::size_t i = from; i < text.size(); ++i)
            if (LowerAt(text, i) == c) return i;
        return std::string_view::npos;
    }
};

// A text already mapped through the lower-case table, so a byte search can use memchr.
struct LoweredText {
    std::string_view text;
    unsigned char At(std::size_t i) const { return static_cast<unsigned char>(text[i]); }
    std::size_t Next(std::size_t from, unsigned char c) const {
        if (from >= text.size()) return std::string_view::npos;
        const void* hit = std::memchr(text.data() + from, c, text.size() - from);
        if (hit == nullptr) return std::string_view::npos;
        return static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    }
};

// Mask characters [from, from + count) against text characters at pos, "?" taking any one.
template <typename Text>
bool PieceMatches(const Text& text, std::size_t pos, std::string_view mask, std::size_t from,
                  std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) {
        const char mc = mask[from + k];
        if (mc != '?' && LowerAt(mask, from + k) != text.At(pos + k)) return false;
    }
    return true;
}

// Anchored match of the whole text against the whole mask. The mask is cut at its stars into
// a head, middle pieces and a tail: the head must match the start of the text, the tail its
// end, and each middle piece is placed at its leftmost fit after the previous one. Leftmost
// placement never loses a match because the pieces have fixed lengths, so this gives the
// backtracking matcher's answer in O(text x mask) time with no recursion and no memory.
template <typename Text>
bool MatchCore(const Text& text, std::size_t n, std::string_view mask) {
    if (n == 0) return false;
    const std::size_t m = mask.size();
    const std::size_t firstStar = mask.find('*');
    if (firstStar == std::string_view::npos) return m == n && PieceMatches(text, 0, mask, 0, m);

    const std::size_t lastStar = mask.rfind('*');
    const std::size_t tail = m - lastStar - 1;
    if (firstStar + tail > n) return false;
    if (!PieceMatches(text, 0, mask, 0, firstStar)) return false;
    if (!PieceMatches(text, n - tail, mask, lastStar + 1, tail)) return false;

    std::size_t pos = firstStar;       // first text position free for the next piece
    const std::size_t end = n - tail;  // the pieces must fit before the tail
    std::size_t j = firstStar + 1;
    while (j < lastStar) {
        if (mask[j] == '*') {
            ++j;
            continue;
        }
        const std::size_t pieceEnd = mask.find('*', j);
        const std::size_t len = pieceEnd - j;
        // Anchor the search on the piece's first literal character, if it has one.
        std::size_t anchor = 0;
        while (anchor < len && mask[j + anchor] == '?') ++anchor;
        std::size_t found = std::string_view::npos;
        while (pos + len <= end) {
            std::size_t p = pos;
            if (anchor < len) {
                const std::size_t hit = text.Next(pos + anchor, LowerAt(mask, j + anchor));
                if (hit == std::string_view::npos) return false;
                p = hit - anchor;
                if (p + len > end) return false;
            }
            if (PieceMatches(text, p, mask, j, len)) {
                found = p;
                break;
            }
            pos = p + 1;
        }
        if (found == std::string_view::npos) return false;
        pos = found + len;
        j = pieceEnd;
    }
    return true;
}

bool HasWildcard(std::string_view s) {
    return s.find_first_of("*?") != std::string_view::npos;
}

// Case-insensitive substring test against an already lower-cased text. Upper-table equality
// and lower-table equality are the same relation (the case pairs are one-to-one).
bool ContainsLowered(std::string_view lowered, std::string_view key) {
    const std::size_t len = key.size();
    if (len == 0 || len > lowered.size()) return false;
    const LoweredText text{lowered};
    const unsigned char first = LowerAt(key, 0);
    std::size_t pos = 0;
    while (pos + len <= lowered.size()) {
        const std::size_t hit = text.Next(pos, first);
        if (hit == std::string_view::npos || hit + len > lowered.size()) return false;
        std::size_t k = 1;
        while (k < len && LowerAt(key, k) == text.At(hit + k)) ++k;
        if (k == len) return true;
        pos = hit + 1;
    }
    return false;
}

bool MatchesLowered(std::string_view lowered, std::string_view pattern) {
    if (HasWildcard(pattern)) return MatchCore(LoweredText{lowered}, lowered.size(), pattern);
    return ContainsLowered(lowered, pattern);
}

// Which pairs of adjacent lower-cased bytes occur in a text. A pattern can only match when
// every pair of adjacent literal characters in it occurs in the text, so most entries of a
// long list are turned down after a few bit tests instead of a scan of the whole message.
class PairSet {
  public:
    explicit PairSet(std::string_view lowered) {
        for (std::size_t i = 1; i < lowered.size(); ++i)
            Set(Index(static_cast<unsigned char>(lowered[i - 1]),
                      static_cast<unsigned char>(lowered[i])));
    }
    bool MayMatch(std::string_view pattern) const {
        for (std::size_t i = 1; i < pattern.size(); ++i) {
            const char a = pattern[i - 1];
            const char b = pattern[i];
            if (a == '*' || a == '?' || b == '*' || b == '?') continue;
            if (!Has(Index(LowerAt(pattern, i - 1), LowerAt(pattern, i)))) return false;
        }
        return true;
    }

  private:
    static std::size_t Index(unsigned char a, unsigned char b) {
        return (static_cast<std::size_t>(a) << 8) | b;
    }
    void Set(std::size_t i) { bits_[i >> 6] |= std::uint64_t{1} << (i & 63); }
    bool Has(std::size_t i) const { return (bits_[i >> 6] >> (i & 63)) & 1u; }
    std::array<std::uint64_t, 1024> bits_{};
};

// Below these sizes building the pair set costs more than it saves.
constexpr std::size_t kPairSetMinEntries = 16;
constexpr std::size_t kPairSetMinText = 64;

}  // namespace

bool WildcardMatch(std::string_view text, std::string_view mask) {
    return MatchCore(RawText{text}, text.size(), mask);
}

bool MatchesPattern(std::string_view text, std::string_view pattern) {
    if (HasWildcard(pattern)) return WildcardMatch(text, pattern);
    return PosNoCase(pattern, text, 1) > 0;
}

bool ListContainsText(const ListEntries& list, std::string_view text) {
    if (text.empty() || list.empty()) return false;  // an empty text matches no pattern
    const bool hasBar = text.find('|') != std::string_view::npos;
    // Lower-case the text once for the whole list rather than once per entry.
    const std::string lowered = LowerCase1251(text);
    std::optional<PairSet> pairs;
    if (list.size() >= kPairSetMinEntries && lowered.size() >= kPairSetMinText)
        pairs.emplace(lowered);
    for (const std::string& entry : list) {
        std::string_view key = entry;
        const std::size_t bar = key.find('|');
        if (bar == std::string_view::npos) {
            if (hasBar) continue;
        } else {
            key = key.substr(bar + 1);
            const std::size_t next = key.find('|');
            if (next != std::string_view::npos) key = key.substr(0, next);
        }
        if (pairs && !pairs->MayMatch(key)) continue;
        if (MatchesLowered(lowered, key)) return true;
    }
    return false;
}

Replacement FindReplacement(const ListEntries& replaceList, std::string_view caption) {
    Replacement result{false, std::string(caption)};
    if (caption.empty()) return result;
    for (const std::string& entry : replaceList) {
        const std::size_t bar = entry.find('|');
        if (bar == std::string::npos) continue;
        if (MatchesPattern(caption, std::string_view(entry).substr(0, bar))) {
            result.found = true;
            result.text = entry.substr(bar + 1, kMaxReplacement);
            return result;
        }
    }
    return result;
}

}  // namespace vantor
