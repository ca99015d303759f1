// Code page 1251 and the Unicode forms a profile file may be saved in (UTF-8 or UTF-16 with a
// byte-order mark). The system reads such files and hands the text back in code page 1251.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

std::uint16_t Cp1251ToUnicode(unsigned char c);
// The code page 1251 byte for a UTF-16 unit: its own byte, a best-fit byte, or "?".
unsigned char UnicodeToCp1251(std::uint16_t unit);

// One code page 1251 byte for every UTF-16 unit the text decodes to (a character outside the
// basic plane gives two "?"); a malformed UTF-8 sequence gives "?".
std::string Utf8ToCp1251(std::string_view utf8);
// As above for UTF-16 bytes; an odd last byte counts as a unit with a zero other half.
std::string Utf16ToCp1251(std::string_view bytes, bool bigEndian);
std::string Cp1251ToUtf8(std::string_view text);

}  // namespace vantor
