// Paths of the program's files as text: one rule for joining a folder and a name, and the
// parts of a path. The program's own folders hold "\"; native tests use folders with "/"
// only, and a path keeps the separator its folder was written with.
#pragma once

#include <string>
#include <string_view>

namespace vantor {

// folder + name with one separator between them: none added when the folder is empty or
// already ends with "\" or "/"; otherwise "/" for a folder written with "/" only, else "\".
std::string JoinPath(std::string_view folder, std::string_view name);

// Everything up to and including the last "\" or "/"; "" when the path has none.
std::string_view FolderOf(std::string_view path);
// Everything after the last "\" or "/" (the whole path when it has none).
std::string_view FileNameOf(std::string_view path);
// The path without the extension of its file name ("C:\v.1\vantor" keeps its dot).
std::string_view WithoutExtension(std::string_view path);

}  // namespace vantor
