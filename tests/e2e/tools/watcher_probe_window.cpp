// Another program for the watcher's probes: a top-level window of the class "Watcher<TAB>Probe"
// with a focused EDIT control.
//   watcher_probe_window edit [TEXT]   runs a message loop until closed (at most 60 s)
//   watcher_probe_window hang [TEXT]   shows the window, then stops answering for 30 s
// Prints "ready" once the window is shown; exits with 0.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kClassName[] = "Watcher\tProbe";

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            DestroyWindow(window);  // never outlive the test that started us
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "edit";
    const std::string text = argc > 2 ? argv[2] : "the quick fox";

    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    if (!RegisterClassA(&wc)) return 2;

    HWND top =
        CreateWindowExA(0, kClassName, ("Watcher probe " + mode).c_str(), WS_OVERLAPPEDWINDOW, 100,
                        100, 400, 150, nullptr, nullptr, wc.hInstance, nullptr);
    if (!top) return 3;
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text.c_str(),
                                WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 360, 24, top,
                                reinterpret_cast<HMENU>(100), wc.hInstance, nullptr);
    if (!edit) return 4;
    ShowWindow(top, SW_SHOW);
    SetForegroundWindow(top);
    SetFocus(edit);
    SetTimer(top, 1, 60000, nullptr);
    std::printf("ready\n");
    std::fflush(stdout);

    if (mode == "hang") {
        Sleep(30000);  // answers no message meanwhile
        return 0;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
