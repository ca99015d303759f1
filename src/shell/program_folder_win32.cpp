#include <windows.h>

#include "shell/program_folder.h"

namespace vantor {

std::string RunningExecutablePath() {
    // A path longer than the buffer comes back cut (and possibly without its NUL), which
    // would give a wrong program folder: grow the buffer until the whole path fits.
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0) return "";
        if (length < buffer.size()) return buffer.substr(0, length);
        if (buffer.size() >= 32768) return "";
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace vantor
