#include <windows.h>

#include <algorithm>
#include <atomic>

#include "base/file_io.h"

namespace vantor {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    // Shared for reading only: a file another program still holds open for writing is not
    // read half-written; it counts as unreadable until its next load.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31)) {
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    }
    char buffer[65536];
    DWORD got = 0;
    BOOL ok = TRUE;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

std::optional<std::string> ReadFilePrefix(const std::string& path, std::size_t limit, bool* cut) {
    if (cut) *cut = false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    BOOL ok = TRUE;
    // One byte past the limit tells a file of exactly that size from a larger one.
    while (bytes.size() <= limit &&
           (ok = ReadFile(
                file, buffer,
                static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, limit + 1 - bytes.size())),
                &got, nullptr)) &&
           got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    if (!ok) return std::nullopt;
    if (bytes.size() > limit) {
        bytes.resize(limit);
        if (cut) *cut = true;
    }
    return bytes;
}

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    return ok;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = WriteAll(file, bytes);
    return CloseHandle(file) && ok;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    // Unique to this process and call: a second start writing its own keys at the same
    // moment must not truncate or rename our half-written file.
    static std::atomic<unsigned> calls{0};
    const std::string temp = path + "." + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(calls.fetch_add(1)) + ".vantor-new";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExA(temp.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        const DWORD error = GetLastError();  // what the notice tells the user
        DeleteFileA(temp.c_str());
        SetLastError(error);
    }
    return ok;
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER oldSize = {};
    if (!GetFileSizeEx(file, &oldSize) || !SetFilePointerEx(file, oldSize, nullptr, FILE_BEGIN)) {
        CloseHandle(file);
        return false;
    }
    const bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
    if (ok) return CloseHandle(file) != FALSE;
    const DWORD error = GetLastError();  // what the notice tells the user
    // A full disk must not leave half a line behind.
    if (SetFilePointerEx(file, oldSize, nullptr, FILE_BEGIN)) SetEndOfFile(file);
    CloseHandle(file);
    SetLastError(error);
    return false;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace vantor
