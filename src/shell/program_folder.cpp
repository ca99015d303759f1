#include "shell/program_folder.h"

#include "settings/settings.h"

namespace vantor {

std::string ProgramFolderOf(std::string_view executablePath) {
    const size_t last = executablePath.find_last_of("\\/");
    if (last == std::string_view::npos) return "";
    return std::string(executablePath.substr(0, last + 1));
}

void PrepareSettingsFile(const std::string& folder) {
    (void)WriteDefaultSettingsIfMissing(folder);  // a failed write leaves every key at its default
}

}  // namespace vantor
