#include "shell/autorun.h"

#include "base/text.h"

namespace vantor {

std::string RunValueData(std::string_view executablePath) {
    // Without quotes the shell would split a path such as "C:\Program Files\..." at the blank.
    if (executablePath.find(' ') == std::string_view::npos) return std::string(executablePath);
    std::string data;
    data.reserve(executablePath.size() + 2);
    data.append("\"").append(executablePath).append("\"");
    return data;
}

bool AutorunIsOn(const std::optional<std::string>& value, std::string_view executablePath) {
    return value && SameTextNoCase(*value, RunValueData(executablePath));
}

}  // namespace vantor
