// Language files: "Language\<name>.lng" in the program folder, ini files in the system's code
// page with the sections "Language" (its display name), "Messages", "fmMain" and "fmSetup"
// (keys and treatment in text_table.h). Reading one gives the texts to apply, the one entry of
// the settings dialog's language list and the help file it brings; the language list is built
// from the files found. A name that has no file (a blank name, a missing file, a folder of
// that name) gives the built-in English run-time texts and leaves the captions as they are.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lang/text_table.h"

namespace vantor {

inline constexpr std::string_view kLanguageFolderName = "Language";
inline constexpr std::string_view kLanguageFileExtension = ".lng";
// At most this much of a language file is read, also for the list of languages; a file
// larger than any translation needs is cut there.
inline constexpr std::size_t kMaxLanguageFileBytes = 1u << 20;

// folder + "Language\" + fileName (with "/" for a folder written with "/" only).
std::string InLanguageFolder(std::string_view folder, std::string_view fileName);
// folder + "Language\" + name + ".lng"; a blank name is returned unchanged (it names no file).
std::string LanguageFilePath(std::string_view folder, std::string_view name);
// The file name of a path without its extension: "C:\V\Language\Rus.lng" -> "Rus".
std::string BaseNameOf(std::string_view path);
// An entry of the language list: the base name, and " (display name)" when there is one.
std::string LanguageListItem(std::string_view baseName, std::string_view displayName);
// The language an entry names: its text up to the first " (" (all of it when there is none).
std::string LanguageOfItem(std::string_view item);
// The display name a language file gives itself (key "Language" of section "Language").
std::string DisplayNameIn(std::string_view fileBytes);

struct AppliedLanguage {
    bool fromFile = false;
    std::string listItem;                 // the language list's only entry, selected
    std::optional<std::string> helpFile;  // the help file from now on; nothing: keep the old one
    LanguageTexts texts;                  // without a file: `current` and the built-in texts
};
// Reads the language `name` from the program folder over the captions as they are now.
AppliedLanguage ReadLanguage(std::string_view folder, std::string_view name,
                             const CaptionSet& current);

struct LanguageList {
    std::vector<std::string> items;  // "  Build-in (English)", then one per file
    int selected = 0;                // the file whose base name is `current` exactly, or 0
};
// The list the settings dialog offers: the built-in entry, then the files in the order given
// (as the system lists "Language\*.lng"), each with its display name.
LanguageList BuildLanguageList(std::string_view folder, const std::vector<std::string>& fileNames,
                               std::string_view current);
// The names of the files "Language\*.lng" in the folder, in the system's order; folders of
// such a name are left out.
std::vector<std::string> LanguageFileNames(std::string_view folder);

// What closing the language list on an entry does.
struct LanguageChoice {
    bool store = false;        // write "Language" at once
    std::string language;      // the new current language
    bool apply = false;        // apply it now (a file entry with a name that is not blank)
    bool restartNote = false;  // the built-in entry: the label asks for a restart
};
// The entry is told by its text: the built-in one asks for a restart; any other names a
// language. (The list opened from the keyboard is not refilled and holds only the current
// language's entry at index 0: closing it keeps that language rather than dropping it for
// the built-in English.) index -1 (nothing selected) does nothing.
LanguageChoice ChooseLanguage(int index, std::string_view itemText);

}  // namespace vantor
