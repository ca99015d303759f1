// e2e-gui
// Stands in for the programs the shell starts (mail program, browser, editor) so that a test
// can see what was opened and how: a test registers it as a scheme's or a file type's open
// command, "shell_recorder.exe" "LOG" "%1".
//   shell_recorder LOG TARGET
//   shell_recorder TARGET       (LOG from the environment variable VANTOR_E2E_RECORD, for a
//                                starter that runs the program found for a file type with
//                                arguments of its own)
// Appends one line "TARGET|SHOW" to LOG, SHOW being the show command the starter asked for
// (STARTUPINFO wShowWindow; -1 when none was given). A GUI program: a console one would
// bring up a console that takes the foreground. Exit code 0, 1 when LOG cannot be written,
// 100 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char fromEnvironment[MAX_PATH] = {};
    const char* log = argc == 3 ? argv[1] : nullptr;
    if (argc == 2 && GetEnvironmentVariableA("VANTOR_E2E_RECORD", fromEnvironment, MAX_PATH)) {
        log = fromEnvironment;
    }
    if (!log) {
        std::fprintf(stderr, "usage: shell_recorder [LOG] TARGET\n");
        return 100;
    }
    const char* target = argv[argc - 1];
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::string line = std::string(target) + "|" + std::to_string(show) + "\r\n";
    // Several openings may come at once: each appends its line whole.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileA(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(20);
            continue;
        }
        DWORD written = 0;
        const BOOL ok =
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
        return ok && written == line.size() ? 0 : 1;
    }
    return 1;
}
