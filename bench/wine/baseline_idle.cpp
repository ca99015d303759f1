// The yardstick for Vantor's idle cost: a minimal Win32 program with one hidden window and
// one periodic 50 ms multimedia timer whose handler does nothing. Runs until killed.
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
    wc.lpszClassName = "VantorBaselineIdle";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, "baseline", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                    nullptr, instance, nullptr);
    const UINT timer = timeSetEvent(50, 10, Tick, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    timeKillEvent(timer);
    return 0;
}
