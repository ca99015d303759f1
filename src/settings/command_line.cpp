#include "settings/command_line.h"

#include <algorithm>

#include "base/text.h"
#include "settings/colors.h"

namespace vantor {
namespace {

// Unsigned: code page 1251 letters are above 127 and must not count as separators.
bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
        if (i >= line.size()) break;
        std::string argument;
        bool quoted = false;
        for (; i < line.size() && (quoted || !IsSeparator(line[i])); ++i) {
            if (line[i] == '"') quoted = !quoted;
            argument += line[i];
        }
        if (argument == "\"\"") continue;
        if (argument.size() > 1 && argument.front() == '"' && argument.back() == '"')
            argument = argument.substr(1, argument.size() - 2);
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

void ApplyOption(std::string_view argument, MainSettings& s) {
    if (!argument.empty() && (argument.front() == '/' || argument.front() == '-'))
        argument.remove_prefix(1);
    const std::string word = LowerCase1251(argument);
    if (word == "isexitbutton") s.ExitVisible = true;
    if (word == "nocenter") s.NoCenter = true;
    if (word == "toclosed") s.NoCenter = false;
    if (word == "istimer") s.CloseButtonCountdown = true;

    const std::size_t eq = word.find('=');
    if (eq == std::string::npos) return;
    const std::string_view name = std::string_view(word).substr(0, eq);
    const std::string_view value = std::string_view(word).substr(eq + 1, kMaxOptionValue);
    if (name == "messagetime") {
        const std::int32_t seconds = ParseInt(value);
        if (seconds >= 1) s.MessageTime = seconds;
    } else if (name == "timer") {
        const std::int32_t period = ParseInt(value);
        if (period >= 1) s.ScannerPeriod = std::min(period, kMaxScannerPeriod);
    } else if (name == "color") {
        if (const auto change = ColorFromCommandLine(value)) {
            MergeBackground(s.ColorOption, *change);
        }
    } else if (name == "transparent") {
        const std::int32_t opacity = ParseInt(value);
        if (opacity >= 1) s.MessageTransparent = std::clamp(opacity, 100, 255);
    }
}

void ApplyCommandLine(const std::vector<std::string>& arguments, MainSettings& s) {
    for (const std::string& argument : arguments) ApplyOption(argument, s);
}

}  // namespace vantor
