// Text primitives over single-byte code page 1251 strings.
// Positions are counted from 1; 0 means "not found". An empty text and a missing text are the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

unsigned char Upper1251(unsigned char c);
unsigned char Lower1251(unsigned char c);

std::string UpperCase1251(std::string_view text);
std::string LowerCase1251(std::string_view text);
bool SameTextNoCase(std::string_view a, std::string_view b);
// First position >= start (1-based) where sub occurs in text; 0 if none.
int PosNoCase(std::string_view sub, std::string_view text, int start = 1);
int PosCase(std::string_view sub, std::string_view text, int start = 1);
// Blank bytes are those up to 32 (controls and the space) unless a caller says otherwise.
bool IsBlankByte(unsigned char c);
// The text without the blanks at its ends.
std::string_view TrimmedView(std::string_view text, bool (*isBlank)(unsigned char) = IsBlankByte);
std::string TrimText(std::string_view text);
bool IsBlank(std::string_view text);
std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText,
                       bool caseSensitive);
// The number at a text's start in 32-bit arithmetic that wraps: an optional "+" or "-", then
// digits up to the first other byte (none: 0). The profile form, as the system's profile
// functions read numbers, first skips blanks and reads "0b", "0o" and "0x" as the base.
enum class NumberForm { kPlain, kProfile };
std::int32_t ParseInt(std::string_view text, NumberForm form = NumberForm::kPlain);
std::string IntText(std::int32_t value);

}  // namespace vantor
