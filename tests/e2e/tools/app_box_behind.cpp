// Another program whose message box opens BEHIND its own main window: the main window keeps
// the foreground (a thread-local CBT hook refuses to activate the box), so neither the look at
// the foreground window nor a window event about the foreground can find the box.
//   app_box_behind CAPTION TEXT [REPORT_FILE]
// Prints "result N" and exits with MessageBoxA's result (1 = IDOK); 100 = bad arguments,
// 101 = the front window could not be created. With REPORT_FILE, writes "waited_ms N" there:
// the time from the box's showing (its refused activation) to MessageBoxA returning; -1 if
// it never tried to activate.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "wait_report.h"

namespace {

HHOOK g_hook = nullptr;
LARGE_INTEGER g_shown = {};

LRESULT CALLBACK RefuseDialogActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char cls[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof(cls));
        if (std::strcmp(cls, "#32770") == 0) {
            if (g_shown.QuadPart == 0) QueryPerformanceCounter(&g_shown);
            return 1;
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::printf("usage: app_box_behind CAPTION TEXT [REPORT_FILE]\n");
        return 100;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "VantorE2EFront";
    RegisterClassA(&wc);
    HWND front = CreateWindowExA(0, wc.lpszClassName, "Vantor e2e front window",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400, nullptr,
                                 nullptr, instance, nullptr);
    if (!front) return 101;
    SetForegroundWindow(front);
    g_hook = SetWindowsHookExA(WH_CBT, RefuseDialogActivation, nullptr, GetCurrentThreadId());
    const int result = MessageBoxA(nullptr, argv[2], argv[1], MB_OK | MB_ICONINFORMATION);
    if (argc == 4) WriteWaitReport(argv[3], g_shown);
    UnhookWindowsHookEx(g_hook);
    std::printf("result %d\n", result);
    std::fflush(stdout);
    DestroyWindow(front);
    return result;
}
