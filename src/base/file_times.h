// Last-write times of the list files, as the list reload compares them. The Windows build
// reads them the way Explorer shows them (FindFirstFileA, in local time); the native build
// uses the standard library. Tests hand the list service a FileTimes of their own.
#pragma once

#include <cstdint>
#include <string>

namespace vantor {

// 100-nanosecond ticks since 1601 in local time (a FILETIME after FileTimeToLocalFileTime);
// 0 when the file's time cannot be read, e.g. because the file is missing.
using FileTime = std::uint64_t;

// Equal when both fall in the same millisecond: the calendar form (year to millisecond) of
// the two is the same.
inline bool SameFileTime(FileTime a, FileTime b) {
    return a / 10000 == b / 10000;
}

class FileTimes {
  public:
    virtual ~FileTimes() = default;
    virtual FileTime LastWriteTime(const std::string& path) = 0;
};

// The file system's own times.
FileTimes& SystemFileTimes();

}  // namespace vantor
