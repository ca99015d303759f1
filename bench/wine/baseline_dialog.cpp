// The yardstick for the memory a window with common controls costs under Wine: the minimal
// timer program of baseline_idle.cpp that also shows, once, a window with a check box and a
// push button (common controls version 6, from its manifest) for one second, then hides it.
// Runs until killed.
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

namespace {
void CALLBACK Tick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "VantorBaselineDialog";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "baseline dialog",
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 451, 298, nullptr,
                                  nullptr, instance, nullptr);
    CreateWindowExA(0, "BUTTON", "Check box", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 12, 16, 120,
                    17, window, reinterpret_cast<HMENU>(1), instance, nullptr);
    CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 8, 242, 75, 25,
                    window, reinterpret_cast<HMENU>(2), instance, nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetTimer(window, 1, 1000, nullptr);
    const UINT timer = timeSetEvent(50, 10, Tick, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == window) {
            KillTimer(window, 1);
            ShowWindow(window, SW_HIDE);
            continue;
        }
        DispatchMessageA(&msg);
    }
    timeKillEvent(timer);
    return 0;
}
