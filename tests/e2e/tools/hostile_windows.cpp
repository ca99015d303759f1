// A badly behaved program: one top-level window of the class "VantorE2EHostile" that takes
// the foreground, and children that make a reader's life hard.
//   hostile_windows continue HANDLE   "hostile continue": one push button "Continue=HANDLE"
//                                     (another window's handle in its caption); pressing it
//                                     ends the program with exit code 7
//   hostile_windows vanish COUNT      "hostile vanish": 20 labels and a child whose text read
//                                     destroys the whole window; opened again 100 ms later
//                                     until it vanished COUNT times, then exit code 0
//   hostile_windows desktop           "hostile desktop": 4 children that answer a text read
//                                     after 900 ms (a read of the first one sets the event
//                                     "VantorE2EHostileSlowRead", when the test made it); a child
//                                     that reports 15,000,000 characters and a short text every
//                                     other time, its text changing on every read; a label of
//                                     32,000 characters (Wine hands no longer text to another
//                                     process); 2,000 labels of 8,000 characters each
// Every mode gives up after 60 s (exit code 3); exit code 100: bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kContinueId = 7;
int g_exitCode = 3;
HANDLE g_slowRead = nullptr;
int g_shiftingReads = 0;

LRESULT CALLBACK TopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kContinueId) {
        g_exitCode = 7;
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The children's classes are Unicode: Wine would otherwise answer a wide length request to an
// ANSI window by reading the whole text, which would hide the lie and double the wait.
LRESULT CALLBACK SlowProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXT) {
        if (g_slowRead && GetDlgCtrlID(child) == 0) SetEvent(g_slowRead);
        Sleep(900);
    }
    return DefWindowProcW(child, message, wParam, lParam);
}

LRESULT CALLBACK ShiftingProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXTLENGTH) return ++g_shiftingReads % 2 ? 15000000 : 3;
    if (message == WM_GETTEXT && wParam > 0) {
        const std::wstring text = L"changed " + std::to_wstring(g_shiftingReads);
        lstrcpynW(reinterpret_cast<wchar_t*>(lParam), text.c_str(), static_cast<int>(wParam));
        return lstrlenW(reinterpret_cast<wchar_t*>(lParam));
    }
    return DefWindowProcW(child, message, wParam, lParam);
}

LRESULT CALLBACK VanishProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETTEXT) {
        DestroyWindow(GetParent(child));
        return 0;
    }
    return DefWindowProcW(child, message, wParam, lParam);
}

void Register(const char* name, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}
void RegisterWide(const wchar_t* name, WNDPROC proc) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

HWND Top(const char* caption) {
    return CreateWindowExA(0, "VantorE2EHostile", caption, WS_OVERLAPPEDWINDOW, 120, 120, 500, 300,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}
void Child(HWND top, const char* cls, const std::string& text, int id = 0) {
    CreateWindowExA(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE, 10, 10 + (id % 20) * 12, 300, 12,
                    top, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}
void Show(HWND top) {
    ShowWindow(top, SW_SHOW);
    SetForegroundWindow(top);
}

// Answers messages until the window is gone or the deadline passed.
void Pump(HWND window, DWORD deadline) {
    while (IsWindow(window) && GetTickCount() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc >= 2 ? argv[1] : "";
    const DWORD deadline = GetTickCount() + 60000;
    Register("VantorE2EHostile", TopProc);
    RegisterWide(L"VantorE2ESlow", SlowProc);
    RegisterWide(L"VantorE2EShifting", ShiftingProc);
    RegisterWide(L"VantorE2EVanish", VanishProc);
    if (mode == "continue" && argc == 3) {
        HWND top = Top("hostile continue");
        CreateWindowExA(0, "BUTTON", (std::string("Continue=") + argv[2]).c_str(),
                        WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 300, 28, top,
                        reinterpret_cast<HMENU>(kContinueId), nullptr, nullptr);
        Show(top);
        Pump(top, deadline);
        return g_exitCode;
    }
    if (mode == "vanish" && argc == 3) {
        for (int vanished = 0; vanished < std::atoi(argv[2]); ++vanished) {
            HWND top = Top("hostile vanish");
            Child(top, "STATIC", "before");
            Child(top, "VantorE2EVanish", "gone when read", 1);
            for (int i = 2; i < 22; ++i) Child(top, "STATIC", "label " + std::to_string(i), i);
            Show(top);
            Pump(top, deadline);
            if (GetTickCount() >= deadline) return 3;
            Sleep(100);
        }
        return 0;
    }
    if (mode == "desktop" && argc == 2) {
        g_slowRead = OpenEventA(EVENT_MODIFY_STATE, FALSE, "VantorE2EHostileSlowRead");
        HWND top = Top("hostile desktop");
        for (int i = 0; i < 4; ++i) Child(top, "VantorE2ESlow", "slow " + std::to_string(i), i);
        Child(top, "VantorE2EShifting", "changing", 4);
        Child(top, "STATIC", std::string(32000, 'L'), 5);
        const std::string text(8000, 'c');
        for (int i = 0; i < 2000; ++i) Child(top, "STATIC", text, 6 + i);
        Show(top);
        std::printf("shown\n");
        std::fflush(stdout);
        Pump(top, deadline);
        return 3;
    }
    std::printf("usage: hostile_windows continue HANDLE | vanish COUNT | desktop\n");
    return 100;
}
