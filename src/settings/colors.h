// The message window's colours and opacity from the settings file and the command line.
// Pure functions: they say what to do; the window code does it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantor {

// The system colour index of the button face (COLOR_BTNFACE).
inline constexpr int kColorBtnFace = 15;

enum class BackgroundKind {
    Unchanged,   // keep the colour the message window was created with
    ButtonFace,  // the system colour kColorBtnFace
    Rgb,         // rgb below
};

struct BackgroundChange {
    BackgroundKind kind = BackgroundKind::Unchanged;
    std::uint32_t rgb = 0;  // 0x00BBGGRR, when kind is Rgb
    // The text area takes the message window's background (after the change above).
    bool textAreaFollows = false;
};

// Hexadecimal digits up to the first other byte; one leading "$" is skipped. 32-bit wrap.
std::uint32_t ReadHex(std::string_view text);

// "RRGGBB" as a colour value 0x00BBGGRR; nothing unless the text has exactly six bytes.
std::optional<std::uint32_t> SixDigitColor(std::string_view text);

// The settings key "Color": a blank value changes nothing; exactly "clbtnface" gives the
// button face; six bytes give that colour; anything else keeps the background; in every case
// but a blank one the text area follows the window's background.
BackgroundChange ColorFromSetting(std::string_view value);

// The command line's "color=" value (already lower-cased): ignored (nothing) unless it is
// "clbtnface" or reads as a hexadecimal number above 0; otherwise applied like the key.
std::optional<BackgroundChange> ColorFromCommandLine(std::string_view value);

// The settings key "TextColor": a non-blank six-byte value gives the text colour; anything
// else (including "clbtnface") changes nothing.
std::optional<std::uint32_t> TextColorFromSetting(std::string_view value);

// Applies a later change (the command line's) over an earlier one (the settings file's).
void MergeBackground(BackgroundChange& current, const BackgroundChange& later);

// The message window's opacity: only the low eight bits of MessageTransparent count.
inline std::uint8_t OpacityOf(std::int32_t messageTransparent) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(messageTransparent) & 0xFFu);
}
// 255 is opaque: the window is then not made layered at all.
inline bool IsLayeredOpacity(std::int32_t messageTransparent) {
    return OpacityOf(messageTransparent) != 255;
}

}  // namespace vantor
