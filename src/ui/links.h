// E-mail and web addresses in the message window's text: a quick click on a selected
// address (in practice a double click, which selects the word under the pointer) opens it
// with the shell. Recognition works on the selected text alone; there are no link styles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

// A release at most this long after the press (or the double click) opens the selection.
inline constexpr std::int32_t kLinkClickLimitMs = 200;

// The text as an e-mail address: a scheme or other prefix up to the first ":" dropped, then
// at least two characters before the "@" and no "/" among them, and after it a "." within
// the first 1024 characters with at least two characters on each side. Empty when not.
std::string MailAddressOf(std::string_view text);
// The text as a web address without scheme: everything up to the first "://" dropped, then
// at least two characters on each side of the first ".", and after the last "." at most
// three ASCII letters. Empty when not.
std::string WebAddressOf(std::string_view text);

// What the shell opens for a selection: "mailto:" + address, "http://" + address, or empty
// when the selection is neither. Nothing is trimmed: blanks stay part of the address.
std::string LinkTargetOf(std::string_view selection);
// The caption while the shell opens it: "Открытие " (code page 1251), selection, "...".
std::string OpeningCaption(std::string_view selection);

// The time of the last left button press or double click in the text area, and whether a
// release now is quick enough to open the selection. GUI thread only.
class LinkClicks {
  public:
    void Pressed(std::uint32_t now) { pressedAt_ = now; }
    // The tick count wraps after 49.7 days: the difference is taken as a signed 32-bit value.
    bool QuickRelease(std::uint32_t now) const {
        const auto since = static_cast<std::int32_t>(now - pressedAt_);
        return since <= kLinkClickLimitMs && since >= -kLinkClickLimitMs;
    }

  private:
    std::uint32_t pressedAt_ = 0;
};

}  // namespace vantor
