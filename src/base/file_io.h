// Whole-file access for the list, settings and language files. The Windows build opens
// files the way the program always has (shared for reading only); the native build uses
// the standard library.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vantor {

// The whole file, or nothing when it is missing or cannot be opened (e.g. held by a writer).
std::optional<std::string> ReadWholeFile(const std::string& path);
// At most limit bytes from the start of the file (nothing more is read); cut, when given,
// tells whether the file held more. nullopt as for ReadWholeFile.
std::optional<std::string> ReadFilePrefix(const std::string& path, std::size_t limit,
                                          bool* cut = nullptr);
// Creates or truncates the file and writes the bytes; false when that failed.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Replaces a file's content without ever leaving it cut short: the bytes go to a temporary
// file beside it (a name of this process and call alone, so two programs writing at once
// never share it), which then takes its place. False (old content intact) when that failed.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);
// Appends the bytes at the end of the file, creating it when missing; false when that failed,
// and then the file is cut back to its old size (no half line is left behind).
bool AppendToFile(const std::string& path, const std::string& bytes);
// True for a file; a folder of that name is no file (a language file, a read-me, a help file).
bool FileExists(const std::string& path);
// True when anything is there, a file or a folder: what must not be written over when it
// cannot be read.
bool PathExists(const std::string& path);

}  // namespace vantor
