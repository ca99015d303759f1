// Shows message boxes one after another and measures, for each, the time from the box
// appearing (its window found) to MessageBoxA returning, i.e. to someone pressing OK.
//   box_latency foreground|background COUNT
// "background": the box opens behind this program's own front window, which keeps the
// foreground (a thread-local CBT hook refuses to activate the box).
// Prints one "latency_ms N" line per box, then "median_ms", "p95_ms", "max_ms" and
// "timeouts" (boxes nobody answered within 10 s; those are closed here and not counted).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "latency_report.h"

namespace {

HHOOK g_hook = nullptr;
bool g_background = false;

LRESULT CALLBACK RefuseDialogActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char cls[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof(cls));
        if (std::strcmp(cls, "#32770") == 0) return 1;
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

DWORD WINAPI BoxThread(void* param) {
    const std::string* caption = static_cast<const std::string*>(param);
    HWND front = nullptr;
    if (g_background) {
        front =
            CreateWindowExA(0, "STATIC", "latency front window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            50, 50, 400, 300, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(front);
        g_hook = SetWindowsHookExA(WH_CBT, RefuseDialogActivation, nullptr, GetCurrentThreadId());
    }
    const int result = MessageBoxA(nullptr, "Latency probe", caption->c_str(), MB_OK);
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    if (front) DestroyWindow(front);
    return static_cast<DWORD>(result);
}

double Millis(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: box_latency foreground|background COUNT\n");
        return 100;
    }
    g_background = std::strcmp(argv[1], "background") == 0;
    const int count = std::atoi(argv[2]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> latencies;
    int timeouts = 0;
    for (int i = 0; i < count; ++i) {
        std::string caption = "latency probe " + std::to_string(i);
        HANDLE thread = CreateThread(nullptr, 0, BoxThread, &caption, 0, nullptr);
        HWND box = nullptr;
        LARGE_INTEGER appeared, closed;
        for (int spin = 0; spin < 5000 && !box; ++spin) {
            box = FindWindowA("#32770", caption.c_str());
            if (!box) Sleep(1);
        }
        QueryPerformanceCounter(&appeared);
        if (WaitForSingleObject(thread, 10000) == WAIT_TIMEOUT) {
            ++timeouts;
            if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
            WaitForSingleObject(thread, 5000);
        } else if (box) {
            QueryPerformanceCounter(&closed);
            latencies.push_back(Millis(appeared, closed, frequency));
            std::printf("latency_ms %.1f\n", latencies.back());
        }
        CloseHandle(thread);
        Sleep(150);  // let the message window's show settle before the next box
    }
    PrintLatencyReport(latencies, timeouts);
    return timeouts == 0 ? 0 : 1;
}
