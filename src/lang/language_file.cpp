#include "lang/language_file.h"

#include "base/file_io.h"
#include "base/paths.h"
#include "base/profile.h"
#include "base/text.h"
#include "lang/help.h"

namespace vantor {

std::string InLanguageFolder(std::string_view folder, std::string_view fileName) {
    return JoinPath(JoinPath(folder, kLanguageFolderName), fileName);
}

std::string LanguageFilePath(std::string_view folder, std::string_view name) {
    if (IsBlank(name)) return std::string(name);
    std::string file(name);
    file.append(kLanguageFileExtension);
    return InLanguageFolder(folder, file);
}

std::string BaseNameOf(std::string_view path) {
    return std::string(WithoutExtension(FileNameOf(path)));
}

std::string LanguageListItem(std::string_view baseName, std::string_view displayName) {
    std::string item(baseName);
    if (!displayName.empty()) item.append(" (").append(displayName).append(")");
    return item;
}

std::string LanguageOfItem(std::string_view item) {
    const int at = PosNoCase(" (", item);
    return std::string(at == 0 ? item : item.substr(0, static_cast<std::size_t>(at - 1)));
}

std::string DisplayNameIn(std::string_view fileBytes) {
    return ProfileGetString(fileBytes, kLanguageSection, kLanguageSection, "");
}

AppliedLanguage ReadLanguage(std::string_view folder, std::string_view name,
                             const CaptionSet& current) {
    AppliedLanguage result;
    const std::string path = LanguageFilePath(folder, name);
    if (!FileExists(path)) {
        // No language: the run-time texts are the built-in ones; what is on screen stays.
        result.listItem = std::string(kBuiltInLanguageItem);
        result.helpFile = BuiltInHelpFile(folder);
        result.texts = {current, RunTexts()};
        return result;
    }
    result.fromFile = true;
    // A file that cannot be read (its editor holds it) reads as one without keys.
    const std::string bytes = ReadFilePrefix(path, kMaxLanguageFileBytes).value_or(std::string());
    const std::string base = BaseNameOf(path);
    const std::string help = LanguageHelpFile(folder, base);
    if (FileExists(help)) result.helpFile = help;
    result.listItem = LanguageListItem(base, DisplayNameIn(bytes));
    result.texts = ApplyLanguage(current, [&bytes](TextSection section, std::string_view key) {
        return ProfileFindString(bytes, SectionName(section), key);
    });
    return result;
}

LanguageList BuildLanguageList(std::string_view folder, const std::vector<std::string>& fileNames,
                               std::string_view current) {
    LanguageList list;
    list.items.emplace_back(kBuiltInLanguageItem);
    for (const std::string& name : fileNames) {
        const std::string base = BaseNameOf(name);
        // Exactly, letter case included: "Rus" stored selects no file RUS.lng.
        if (base == current) list.selected = static_cast<int>(list.items.size());
        const std::string bytes =
            ReadFilePrefix(InLanguageFolder(folder, name), kMaxLanguageFileBytes)
                .value_or(std::string());
        list.items.push_back(LanguageListItem(base, DisplayNameIn(bytes)));
    }
    return list;
}

LanguageChoice ChooseLanguage(int index, std::string_view itemText) {
    LanguageChoice choice;
    if (index < 0) return choice;
    choice.store = true;
    if (itemText == kBuiltInLanguageItem) {
        choice.restartNote = true;  // the way back to English is a restart
        return choice;
    }
    choice.language = LanguageOfItem(itemText);
    choice.apply = !IsBlank(choice.language);
    return choice;
}

}  // namespace vantor
