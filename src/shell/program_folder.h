// The program folder (the folder of the running executable) and the files the program keeps
// there: at start-up each missing file is written with its default content.
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
// Start-up steps as ListService's PrepareRuleLists and PrepareClassLists, for start-up code
// that keeps no ListService (and so no stored file times).
void PrepareRuleLists(const std::string& folder, ProgramLists& lists);
void PrepareClassLists(const std::string& folder, ProgramLists& lists);

}  // namespace vantor
