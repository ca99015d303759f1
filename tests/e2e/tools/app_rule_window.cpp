// Another program for the advanced list's rules: a top-level window of the class
// "VantorE2ERules" that takes the foreground, with an EDIT "rule target text", a check box
// "Remember" and a push button "Press me".
//   app_rule_window CAPTION [checked]
// Pressing "Press me" ends it with exit code 5; closing it ends it with 0; it never runs
// longer than 60 s (exit code 0).
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kPressId = 102;
int g_exitCode = 0;

LRESULT CALLBACK RuleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kPressId && HIWORD(wParam) == BN_CLICKED) {
                g_exitCode = 5;
                DestroyWindow(window);
                return 0;
            }
            break;
        case WM_TIMER:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(g_exitCode);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::printf("usage: app_rule_window CAPTION [checked]\n");
        return 100;
    }
    const bool checked = argc == 3 && std::strcmp(argv[2], "checked") == 0;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RuleWindowProc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "VantorE2ERules";
    RegisterClassA(&wc);
    HWND top = CreateWindowExA(0, wc.lpszClassName, argv[1], WS_OVERLAPPEDWINDOW, 150, 150, 420,
                               200, nullptr, nullptr, instance, nullptr);
    if (!top) return 101;
    CreateWindowExA(0, "EDIT", "rule target text", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 380,
                    24, top, reinterpret_cast<HMENU>(100), instance, nullptr);
    HWND box = CreateWindowExA(0, "BUTTON", "Remember", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10,
                               44, 200, 24, top, reinterpret_cast<HMENU>(101), instance, nullptr);
    SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    CreateWindowExA(0, "BUTTON", "Press me", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 78, 120, 28,
                    top, reinterpret_cast<HMENU>(kPressId), instance, nullptr);
    ShowWindow(top, SW_SHOW);
    SetForegroundWindow(top);
    SetTimer(top, 1, 60000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
