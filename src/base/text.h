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
std::string TrimText(std::string_view text);
bool IsBlank(std::string_view text);
std::string ReplaceAll(std::string_view text, std::string_view oldText, std::string_view newText,
                       bool caseSensitive);
std::int32_t ParseInt(std::string_view text);
std::string IntText(std::int32_t value);

}  // namespace vantor
