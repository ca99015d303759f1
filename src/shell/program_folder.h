// The program folder (the folder of the running executable) and the files the program keeps
// there: at start-up each missing file is written with its default content and the lists are
// loaded, in the program's start-up order.
#pragma once

#include <string>
#include <string_view>

#include "lists/list_files.h"

namespace vantor {

// Full path of the running executable ("" when the system cannot tell).
std::string RunningExecutablePath();

// Everything up to and including the last "\" (or "/") of an executable's path; "" when the
// path has no separator, so that file names are then taken relative to the current folder.
std::string ProgramFolderOf(std::string_view executablePath);

// Start-up step: Vantor.ini with its default content when it is missing.
void PrepareSettingsFile(const std::string& folder);
// Start-up step: each missing file among Main.ini, Black.ini, White.ini and Replace.ini
// written with its default content, then the four rule lists loaded from the folder.
void PrepareRuleLists(const std::string& folder, ProgramLists& lists);
// Start-up step: each missing file among Button.ini, Static.ini and Edit.ini written with its
// default content, then the three class lists loaded.
void PrepareClassLists(const std::string& folder, ProgramLists& lists);

// The three steps above in the start-up order. Files that exist are never touched; a file
// that cannot be written is skipped silently and its list holds the built-in defaults.
void PrepareProgramFolder(const std::string& folder, ProgramLists& lists);

}  // namespace vantor
