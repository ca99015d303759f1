// The one pattern test of the rule lists and the two lookups built on it.
#pragma once

#include <string>
#include <string_view>

#include "lists/list_store.h"

namespace vantor {

// Whole text against whole mask; "*" any run, "?" exactly one character, no escape; never
// matches an empty text. Case is folded with the code page 1251 table whatever the machine's
// locale. Linear in the text for each piece of the mask, no recursion, no allocation.
bool WildcardMatch(std::string_view text, std::string_view mask);
// Wildcard match when the pattern holds "*" or "?", else a case-insensitive substring test.
// An empty pattern matches nothing.
bool MatchesPattern(std::string_view text, std::string_view pattern);
// True when some entry matches the text. An entry "a|b|c" is tested with "b" only; a text that
// holds "|" is tested only against entries that hold "|".
bool ListContainsText(const ListEntries& list, std::string_view text);

struct Replacement {
    bool found = false;
    std::string text;  // the caption itself when nothing was found
};
// The first entry "pattern|replacement" whose pattern matches the caption gives the
// replacement (at most 1024 bytes); entries without "|" are skipped.
Replacement FindReplacement(const ListEntries& replaceList, std::string_view caption);

}  // namespace vantor
