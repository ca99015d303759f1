// The command line's option words: splitting the line into arguments and applying them over
// the settings read from the file, for this run only (nothing here is ever written).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/main_settings.h"

namespace vantor {

// Longest value after "name=" that is looked at.
inline constexpr std::size_t kMaxOptionValue = 1024;

// Splits a command line (GetCommandLineA) into arguments, the program path first. Bytes of
// code 32 or below separate arguments except inside double quotes; quotes stay part of the
// argument, an argument that is exactly "" is skipped, and one longer than a byte that begins
// and ends with a quote loses that pair.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Applies one argument: an optional leading "/" or "-"; the words "isexitbutton",
// "nocenter", "toclosed", "istimer" (case-insensitive, whole argument); and "name=value" with
// the names "messagetime", "timer", "color" and "transparent". Nothing is trimmed; anything
// else is ignored.
void ApplyOption(std::string_view argument, MainSettings& settings);

// Applies every argument in order (index 0, the program path, included); later ones win.
void ApplyCommandLine(const std::vector<std::string>& arguments, MainSettings& settings);

}  // namespace vantor
