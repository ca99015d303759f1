#include "shell/program_folder.h"

#include "base/paths.h"
#include "settings/settings.h"

namespace vantor {

std::string ProgramFolderOf(std::string_view executablePath) {
    return std::string(FolderOf(executablePath));
}

void PrepareSettingsFile(const std::string& folder) {
    (void)WriteDefaultSettingsIfMissing(folder);  // a failed write leaves every key at its default
}

}  // namespace vantor
