// The about text: the version line, then a read-me file beside the program reflowed for the
// message window, or a built-in one-line description when there is none. Built anew every
// time (an edited read-me shows at once).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantor {

// Also the tray icon's tooltip.
inline constexpr std::string_view kVersionLine = "Vantor 3.21";

// At most this much of a read-me is read and shown; a larger file is cut there.
inline constexpr std::size_t kMaxReadMeBytes = 1u << 20;

// The read-me files looked for, in order: folder + "Read_Me_<language>.txt",
// folder + "Language\Read_Me_<language>.txt", folder + "Read_Me.txt".
std::vector<std::string> ReadMeCandidates(std::string_view folder, std::string_view language);

// The read-me's lines joined into paragraphs (case-sensitive, each step one pass from the left):
// CR LF CR LF -> "\\", CR LF "-" -> "\-", CR LF -> " ", two blanks -> one, "\" -> CR LF.
// So paragraphs become lines, empty lines and "-" list items keep their breaks, and a
// backslash of the file (a folder path) becomes a line break.
std::string ReflowReadMe(std::string_view text);

// The built-in description: Russian when the upper-cased language is "RUS", else English.
std::string_view BuiltInDescription(std::string_view language);

// The whole about text for the program folder and the current language.
std::string AboutText(std::string_view folder, std::string_view language);

}  // namespace vantor
