// Another program whose message box opens BEHIND its own main window: the main window keeps
// the foreground (a thread-local CBT hook refuses to activate the box), so only a pass over
// all top-level windows can find the box.
//   app_box_behind CAPTION TEXT
// Prints "result N" and exits with MessageBoxA's result (1 = IDOK); 100 = bad arguments,
// 101 = the front window could not be created.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

HHOOK g_hook = nullptr;

LRESULT CALLBACK RefuseDialogActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char cls[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof(cls));
        if (std::strcmp(cls, "#32770") == 0) return 1;
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: app_box_behind CAPTION TEXT\n");
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
    UnhookWindowsHookEx(g_hook);
    std::printf("result %d\n", result);
    std::fflush(stdout);
    DestroyWindow(front);
    return result;
}
