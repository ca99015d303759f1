#include "settings/settings_store.h"

#include <vector>

#include "base/file_io.h"

namespace vantor {

void SettingsStore::Load(std::string path) {
    file_ = SettingsFile(std::move(path));
    const std::optional<std::string> bytes = ReadWholeFile(file_.Path());
    current_.Set(ReadMainSettings(bytes ? std::string_view(*bytes) : std::string_view()));
}

bool SettingsStore::Write(WriteGroup group) {
    const std::shared_ptr<const MainSettings> values = Get();
    std::vector<ProfileEntry> entries;
    for (const SettingDef* def : KeysOf(group)) {
        entries.push_back({def->key, SettingText(*values, *def)});
    }
    SettingsWriteScope writing(file_);
    return file_.WriteGroup(entries);
}

}  // namespace vantor
