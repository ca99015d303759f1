#include <algorithm>
#include <filesystem>

#include "base/text.h"
#include "lang/language_file.h"

namespace vantor {

// The native stand-in for the system's "Language\*.lng" search: the extension without regard
// to case, as the system matches it; sorted, as NTFS lists names.
std::vector<std::string> LanguageFileNames(std::string_view folder) {
    std::vector<std::string> names;
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::path(std::string(folder)) / "Language";
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        if (!entry.is_regular_file(error)) continue;
        const std::string name = entry.path().filename().string();
        const std::size_t length = kLanguageFileExtension.size();
        if (name.size() >= length &&
            SameTextNoCase(std::string_view(name).substr(name.size() - length),
                           kLanguageFileExtension)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vantor
