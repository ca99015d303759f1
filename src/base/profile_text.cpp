#include "base/profile_text.h"

#include <algorithm>
#include <array>
#include <optional>

#include "base/profile_best_fit.h"

namespace vantor {
namespace {

// Unicode for the bytes 0x80..0xFF of code page 1251 (0x98 has no character and stays itself).
constexpr std::array<std::uint16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void AppendUtf8(std::string& out, std::uint32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// Decodes one sequence whose lead byte (>= 0x80) was just taken, the way the system's UTF-8
// decoder does: a bad sequence gives nothing (one "?") and consumes the bytes it has looked at;
// one that runs past the end consumes the rest of the text.
std::optional<std::uint32_t> DecodeSequence(unsigned char lead, std::string_view s,
                                            std::size_t& i) {
    std::size_t len = 0;
    if (lead >= 0xC2 && lead <= 0xDF) len = 1;
    if (lead >= 0xE0 && lead <= 0xEF) len = 2;
    if (lead >= 0xF0 && lead <= 0xF4) len = 3;
    static constexpr unsigned char kMask[4] = {0x7F, 0x1F, 0x0F, 0x07};
    std::uint32_t res = lead & kMask[len];
    if (i + len > s.size()) {
        i = s.size();
        return std::nullopt;
    }
    const std::size_t end = i + len;
    auto take = [&](std::size_t back) -> bool {
        const unsigned c = static_cast<unsigned char>(s[end - back]) ^ 0x80u;
        if (c >= 0x40) return false;
        res = (res << 6) | c;
        return true;
    };
    switch (len) {
        case 3:
            if (!take(3)) return std::nullopt;
            ++i;
            if (res < 0x10) return std::nullopt;
            [[fallthrough]];
        case 2:
            if (!take(2)) return std::nullopt;
            if (res >= (0x110000 >> 6)) return std::nullopt;
            ++i;
            if (res < 0x20) return std::nullopt;
            if (res >= (0xD800 >> 6) && res <= (0xDFFF >> 6)) return std::nullopt;  // surrogates
            [[fallthrough]];
        case 1:
            if (!take(1)) return std::nullopt;
            ++i;
            if (res < 0x80) return std::nullopt;
            return res;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::uint16_t Cp1251ToUnicode(unsigned char c) {
    return c < 0x80 ? c : kHighHalf[c - 0x80];
}

unsigned char UnicodeToCp1251(std::uint16_t unit) {
    if (unit < 0x80) return static_cast<unsigned char>(unit);
    if (unit >= 0x0410 && unit <= 0x044F) return static_cast<unsigned char>(unit - 0x0410 + 0xC0);
    for (std::size_t i = 0; i < kHighHalf.size(); ++i)
        if (kHighHalf[i] == unit) return static_cast<unsigned char>(0x80 + i);
    const auto* fit = std::lower_bound(std::begin(kCp1251BestFit), std::end(kCp1251BestFit), unit,
                                       [](const std::pair<std::uint16_t, unsigned char>& e,
                                          std::uint16_t u) { return e.first < u; });
    if (fit != std::end(kCp1251BestFit) && fit->first == unit) return fit->second;
    return '?';
}

std::string Utf8ToCp1251(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i++]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            continue;
        }
        const std::optional<std::uint32_t> u = DecodeSequence(lead, s, i);
        if (!u) {
            out += '?';
        } else if (*u >= 0x10000) {
            out += "??";  // a surrogate pair: two units, neither in the code page
        } else {
            out += static_cast<char>(UnicodeToCp1251(static_cast<std::uint16_t>(*u)));
        }
    }
    return out;
}

std::string Utf16ToCp1251(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size() / 2 + 1);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        // An odd last byte is read with a zero for the byte that is not there, as on the system.
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        const auto unit = static_cast<std::uint16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
        out += static_cast<char>(UnicodeToCp1251(unit));
    }
    return out;
}

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) AppendUtf8(out, Cp1251ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace vantor
