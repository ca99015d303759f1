// Keeps the bench's Wine desktop alive for the whole run: Wine ends the desktop (and its
// taskbar) when the last program on it exits, and bringing it back costs each test program
// up to seconds. Started by the bench setup; ended with the run's wineserver.
//   desktop_keeper READY_FILE
// Creates one hidden window (so the desktop exists), writes READY_FILE, then waits forever.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: desktop_keeper READY_FILE\n");
        return 100;
    }
    HWND window = CreateWindowExA(0, "STATIC", "Vantor e2e desktop keeper", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) return 1;
    HANDLE ready = CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready == INVALID_HANDLE_VALUE) return 2;
    CloseHandle(ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
