#include <windows.h>

#include "lang/language_file.h"

namespace vantor {

std::vector<std::string> LanguageFileNames(std::string_view folder) {
    std::vector<std::string> names;
    const std::string pattern = InLanguageFolder(folder, "*.lng");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

}  // namespace vantor
