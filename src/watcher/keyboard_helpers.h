// The edit helpers that act on another program's focused edit control: case change (or
// counting) of the word at the caret or of the selection, and select-all.
#pragma once

#include <string>
#include <string_view>

#include "watcher/window_system.h"

namespace vantor {

// The 24 word separators: TAB LF CR space ! " ' ( ) + , . / : ; ? [ \ ] ` { | } ~
bool IsSeparator(unsigned char ch);
bool IsCapitalLetter(unsigned char ch);  // A-Z, 0xA8, 0xC0-0xDF
bool IsLetter(unsigned char ch);         // A-Z, a-z, 0xA8, 0xB8, 0xC0-0xFF

// First letter of every word upper-cased, every other letter lower-cased.
std::string CapitalizeWords(std::string_view piece);
// An integer written as IntText writes it counts by one; other text goes to upper case
// (or first letters, when firstLetters is on and the piece has no capital and is longer
// than one character) when up, to lower case when down.
std::string ChangeCase(std::string_view piece, bool up, bool firstLetters);

// EM_SETSEL (0, -1).
void SelectAllText(WindowSystem& ws, WindowHandle edit);
// Changes the selection, or the word around the caret, of edit whose current text is text.
// The selection stays selected; the caret stays in place (at the word's end if it was there).
void ChangeCaseAtCaret(WindowSystem& ws, WindowHandle edit, std::string_view text, bool up,
                       bool firstLetters);

}  // namespace vantor
