// The yardstick for Vantor's latency: the least a polling closer can do. A 50 ms multimedia
// timer reads the foreground window and, when it is a dialog whose only button reads OK and
// which shows some text, presses OK at once; every 3000 ms the same look goes over every
// top-level window. No lists, no log, no window of its own. Runs until killed.
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <cstring>

namespace {

constexpr DWORD kFullPassMs = 3000;
DWORD g_lastPass = 0;

bool IsClass(HWND window, const char* name) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    return lstrcmpiA(cls, name) == 0;
}

void CloseIfMessage(HWND dialog) {
    if (!dialog || !IsClass(dialog, "#32770")) return;
    HWND ok = nullptr;
    int buttons = 0;
    bool text = false, edit = false;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char caption[64] = {};
        GetWindowTextA(c, caption, sizeof caption);
        if (IsClass(c, "Button")) {
            ++buttons;
            if (std::strcmp(caption, "OK") == 0) ok = c;
        } else if (IsClass(c, "Static")) {
            text = text || caption[0] != '\0';
        } else if (IsClass(c, "Edit")) {
            edit = true;
        }
    }
    if (buttons != 1 || !ok || !text || edit) return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
}

BOOL CALLBACK Visit(HWND window, LPARAM) {
    CloseIfMessage(window);
    return TRUE;
}

void CALLBACK Tick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
    CloseIfMessage(GetForegroundWindow());
    if (GetTickCount() - g_lastPass > kFullPassMs) {
        EnumWindows(Visit, 0);
        g_lastPass = GetTickCount();
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const UINT timer = timeSetEvent(50, 10, Tick, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    timeKillEvent(timer);
    return 0;
}
