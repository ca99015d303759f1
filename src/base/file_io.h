// Whole-file access for the list, settings and language files. The Windows build opens
// files the way the program always has (shared for reading only); the native build uses
// the standard library.
#pragma once

#include <optional>
#include <string>

namespace vantor {

// The whole file, or nothing when it is missing or cannot be opened (e.g. held by a writer).
std::optional<std::string> ReadWholeFile(const std::string& path);
// Creates or truncates the file and writes the bytes; false when that failed.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// Replaces a file's content without ever leaving it cut short: the bytes go to a temporary
// file beside it, which then takes its place. False (old content intact) when that failed.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes);
// Appends the bytes at the end of the file, creating it when missing; false when that failed.
bool AppendToFile(const std::string& path, const std::string& bytes);
// True for a file; a folder of that name is no file (a language file, a read-me, a help file).
bool FileExists(const std::string& path);
// True when anything is there, a file or a folder: what must not be written over when it
// cannot be read.
bool PathExists(const std::string& path);

}  // namespace vantor
