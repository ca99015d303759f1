// Another program that saves files the way an editor does: each file created or cut to
// nothing, opened for writing and shared for reading only, written, closed.
//   save_files [--hold MS] PATH TEXT [PATH TEXT ...]
// A "|" in TEXT stands for a line end (CR LF). With --hold the last file stays open MS
// milliseconds after it was written, as by an editor that is slow to close it. Exit code 0,
// 1 when a file could not be written, 100 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    int first = 1;
    DWORD holdMs = 0;
    if (argc > 2 && std::strcmp(argv[1], "--hold") == 0) {
        holdMs = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
        first = 3;
    }
    if (argc <= first || (argc - first) % 2 != 0) {
        std::fprintf(stderr, "usage: save_files [--hold MS] PATH TEXT [PATH TEXT ...]\n");
        return 100;
    }
    for (int i = first; i < argc; i += 2) {
        std::string bytes;
        for (const char* p = argv[i + 1]; *p; ++p) {
            if (*p == '|') {
                bytes += "\r\n";
            } else {
                bytes += *p;
            }
        }
        HANDLE file = CreateFileA(argv[i], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        DWORD written = 0;
        const BOOL ok =
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        if (i + 2 >= argc && holdMs > 0) Sleep(holdMs);
        CloseHandle(file);
        if (!ok || written != bytes.size()) return 1;
    }
    return 0;
}
