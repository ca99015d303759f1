// The one pattern test of the rule lists and the two lookups built on it.
#pragma once

#include <string>
#include <string_view>

#include "lists/list_store.h"

namespace vantor {

// Whole text against whole mask; "*" any run, "?" one character; never matches an empty text.
bool WildcardMatch(std::string_view text, std::string_view mask);
// Wildcard match when the pattern holds "*" or "?", else a case-insensitive substring test.
bool MatchesPattern(std::string_view text, std::string_view pattern);
bool ListContainsText(const ListEntries& list, std::string_view text);

struct Replacement {
    bool found = false;
    std::string text;  // the caption itself when nothing was found
};
Replacement FindReplacement(const ListEntries& replaceList, std::string_view caption);

}  // namespace vantor
