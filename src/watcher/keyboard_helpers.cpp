#include "watcher/keyboard_helpers.h"

#include <cstdint>

#include "base/text.h"

namespace vantor {

bool IsSeparator(unsigned char ch) {
    switch (ch) {
        case 0x09:
        case 0x0A:
        case 0x0D:
        case 0x20:
        case 0x21:
        case 0x22:
        case 0x27:
        case 0x28:
        case 0x29:
        case 0x2B:
        case 0x2C:
        case 0x2E:
        case 0x2F:
        case 0x3A:
        case 0x3B:
        case 0x3F:
        case 0x5B:
        case 0x5C:
        case 0x5D:
        case 0x60:
        case 0x7B:
        case 0x7C:
        case 0x7D:
        case 0x7E:
            return true;
        default:
            return false;
    }
}

bool IsCapitalLetter(unsigned char ch) {
    return (ch >= 'A' && ch <= 'Z') || ch == 0xA8 || (ch >= 0xC0 && ch <= 0xDF);
}

bool IsLetter(unsigned char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == 0xA8 || ch == 0xB8 ||
           ch >= 0xC0;
}

std::string CapitalizeWords(std::string_view piece) {
    std::string out(piece);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto ch = static_cast<unsigned char>(out[i]);
        const bool upper =
            i == 0 || (IsLetter(ch) && IsSeparator(static_cast<unsigned char>(piece[i - 1])));
        out[i] = static_cast<char>(upper ? Upper1251(ch) : Lower1251(ch));
    }
    return out;
}

std::string ChangeCase(std::string_view piece, bool up, bool firstLetters) {
    const std::int32_t n = ParseInt(piece);
    if (!piece.empty() && IntText(n) == piece) {
        // Counting wraps in 32 bits as the control's number would.
        const auto u = static_cast<std::uint32_t>(n) + (up ? 1u : 0xFFFFFFFFu);
        return IntText(static_cast<std::int32_t>(u));
    }
    if (!up) return LowerCase1251(piece);
    if (firstLetters && piece.size() > 1) {
        bool hasCapital = false;
        for (char ch : piece)
            hasCapital = hasCapital || IsCapitalLetter(static_cast<unsigned char>(ch));
        if (!hasCapital) return CapitalizeWords(piece);
    }
    return UpperCase1251(piece);
}

void SelectAllText(WindowSystem& ws, WindowHandle edit) {
    ws.SetSelection(edit, 0, -1);
}

namespace {

// 1-based character of text; a position outside the text reads as a separator, so a caret
// that lies beyond the text (the control changed meanwhile) finds no word.
bool SeparatorAt(std::string_view text, std::int64_t pos) {
    if (pos < 1 || pos > static_cast<std::int64_t>(text.size())) return true;
    return IsSeparator(static_cast<unsigned char>(text[static_cast<std::size_t>(pos - 1)]));
}

std::string Piece(std::string_view text, std::int64_t pos, std::int64_t len) {
    if (len <= 0 || pos < 1 || pos > static_cast<std::int64_t>(text.size())) return {};
    return std::string(
        text.substr(static_cast<std::size_t>(pos - 1), static_cast<std::size_t>(len)));
}

void SelectRange(WindowSystem& ws, WindowHandle edit, std::int64_t pos, std::int64_t len) {
    ws.SetSelection(edit, static_cast<std::int32_t>(pos - 1),
                    static_cast<std::int32_t>(pos + len - 1));
}

}  // namespace

void ChangeCaseAtCaret(WindowSystem& ws, WindowHandle edit, std::string_view text, bool up,
                       bool firstLetters) {
    std::int32_t selStart = 0;
    std::int32_t selEnd = 0;
    if (!ws.GetSelection(edit, selStart, selEnd)) return;
    std::int64_t start = static_cast<std::int64_t>(selStart) + 1;
    const std::int64_t len = static_cast<std::int64_t>(selEnd) - selStart;

    if (len > 0) {
        const std::string piece = Piece(text, start, len);
        const std::string changed = ChangeCase(piece, up, firstLetters);
        if (changed == piece) return;
        ws.ReplaceSelection(edit, changed);
        SelectRange(ws, edit, start, static_cast<std::int64_t>(changed.size()));
        return;
    }

    std::int64_t wordStart = start;
    while (wordStart > 1 && !SeparatorAt(text, wordStart - 1)) --wordStart;
    std::int64_t we = start - 1;
    while (we < static_cast<std::int64_t>(text.size()) && !SeparatorAt(text, we + 1)) ++we;
    const std::string word = Piece(text, wordStart, we - wordStart + 1);
    const std::string changed = ChangeCase(word, up, firstLetters);
    if (changed == word) return;

    SelectRange(ws, edit, wordStart, we - wordStart + 1);
    ws.ReplaceSelection(edit, changed);
    if (changed.size() > word.size() && we + 1 == start) {
        ++start;
    } else if (changed.size() < word.size() && start > we) {
        --start;
    }
    ws.SetSelection(edit, static_cast<std::int32_t>(start - 1),
                    static_cast<std::int32_t>(start - 1));
}

}  // namespace vantor
