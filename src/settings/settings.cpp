#include "settings/settings.h"

#include "base/file_io.h"
#include "base/paths.h"

namespace vantor {

std::string SettingsPathIn(std::string_view folder) {
    return JoinPath(folder, kSettingsFileName);
}

bool WriteDefaultSettingsIfMissing(std::string_view folder) {
    const std::string path = SettingsPathIn(folder);
    if (PathExists(path)) return false;
    return WriteWholeFile(path, std::string(kDefaultSettingsContent));
}

bool SettingsFile::WriteGroup(std::span<const ProfileEntry> entries) {
    if (mode_ != Mode::Write) return false;
    return file_.WriteStrings(section_, entries);
}

}  // namespace vantor
