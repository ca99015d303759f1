// The program folder (the folder of the running executable), where the settings file and the
// list files live; the list files' start-up step is the list service's (lists/list_service.h).
#pragma once

#include <string>
#include <string_view>

namespace vantor {

// Full path of the running executable ("" when the system cannot tell).
std::string RunningExecutablePath();

// Everything up to and including the last "\" (or "/") of an executable's path; "" when the
// path has no separator, so that file names are then taken relative to the current folder.
std::string ProgramFolderOf(std::string_view executablePath);

// Start-up step: Vantor.ini with its default content when it is missing.
void PrepareSettingsFile(const std::string& folder);

}  // namespace vantor
