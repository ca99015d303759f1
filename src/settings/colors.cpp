#include "settings/colors.h"

#include <string>

#include "base/text.h"

namespace vantor {

std::uint32_t ReadHex(std::string_view text) {
    if (!text.empty() && text.front() == '$') text.remove_prefix(1);
    std::uint32_t value = 0;
    for (const char c : text) {
        std::uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else {
            break;
        }
        value = value * 16u + digit;
    }
    return value;
}

std::optional<std::uint32_t> SixDigitColor(std::string_view text) {
    if (text.size() != 6) return std::nullopt;
    // RRGGBB becomes BBGGRR, so that red lands in the low byte as the system wants it.
    const std::string swapped{text[4], text[5], text[2], text[3], text[0], text[1]};
    return ReadHex(swapped);
}

BackgroundChange ColorFromSetting(std::string_view value) {
    BackgroundChange change;
    if (IsBlank(value)) return change;
    change.textAreaFollows = true;
    if (value == "clbtnface") {
        change.kind = BackgroundKind::ButtonFace;
    } else if (const auto rgb = SixDigitColor(value)) {
        change.kind = BackgroundKind::Rgb;
        change.rgb = *rgb;
    }
    return change;
}

std::optional<BackgroundChange> ColorFromCommandLine(std::string_view value) {
    // "Above 0" as a signed 32-bit number, so "000000" and "ffffffff" are both ignored.
    if (value != "clbtnface" && static_cast<std::int32_t>(ReadHex(value)) <= 0) return std::nullopt;
    return ColorFromSetting(value);
}

void MergeBackground(BackgroundChange& current, const BackgroundChange& later) {
    if (later.kind != BackgroundKind::Unchanged) {
        current.kind = later.kind;
        current.rgb = later.rgb;
    }
    current.textAreaFollows = current.textAreaFollows || later.textAreaFollows;
}

std::optional<std::uint32_t> TextColorFromSetting(std::string_view value) {
    if (IsBlank(value)) return std::nullopt;
    return SixDigitColor(value);
}

}  // namespace vantor
