// Busy desktops for the idle-cost figures: runs for SECONDS, then ends.
//   crowd children N SECONDS   one window in front with N child controls (labels, buttons and
//                              edits in turn, as on a big form)
//   crowd windows N SECONDS    N shown top-level windows, each with a label and a button
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4 || (std::strcmp(argv[1], "children") != 0 && std::strcmp(argv[1], "windows") != 0)) {
        return 100;
    }
    const bool children = std::strcmp(argv[1], "children") == 0;
    const int n = std::atoi(argv[2]);
    const DWORD seconds = static_cast<DWORD>(std::atoi(argv[3]));
    const char* kinds[3] = {"Static", "Button", "Edit"};
    if (children) {
        HWND form = CreateWindowExA(0, "STATIC", "crowded form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                    0, 1000, 800, nullptr, nullptr, nullptr, nullptr);
        for (int i = 0; i < n; ++i) {
            const std::string text = "control " + std::to_string(i);
            CreateWindowExA(0, kinds[i % 3], text.c_str(), WS_CHILD | WS_VISIBLE, (i % 40) * 24,
                            (i / 40) * 14, 22, 12, form, nullptr, nullptr, nullptr);
        }
        SetForegroundWindow(form);
    } else {
        for (int i = 0; i < n; ++i) {
            const std::string caption = "desktop window " + std::to_string(i);
            HWND w = CreateWindowExA(0, "STATIC", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     (i % 20) * 30, (i / 20) * 30, 300, 200, nullptr, nullptr,
                                     nullptr, nullptr);
            CreateWindowExA(0, "Static", "a label", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, w,
                            nullptr, nullptr, nullptr);
            CreateWindowExA(0, "Button", "Apply", WS_CHILD | WS_VISIBLE, 5, 30, 100, 20, w,
                            nullptr, nullptr, nullptr);
        }
    }
    const DWORD end = GetTickCount() + seconds * 1000;
    for (;;) {
        const DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return 0;
}
