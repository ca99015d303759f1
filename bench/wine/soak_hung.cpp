// The soak's hung program: two windows that stay open and never answer, one of them looking
// like a message box (text and an OK button), the other a plain window with an edit field.
//   soak_hung SECONDS
// Shows both windows, then its only window thread stops answering; after SECONDS another
// thread ends the process (exit code 0).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

DWORD WINAPI EndLater(void* param) {
    Sleep(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(param)) * 1000);
    ExitProcess(0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: soak_hung SECONDS\n");
        return 100;
    }
    const UINT_PTR seconds = static_cast<UINT_PTR>(std::atoi(argv[1]));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The look-alike: a dialog-class window with a label and an OK button.
    HWND box = CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", "soak hung box",
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 500, 300, 300, 140,
                               nullptr, nullptr, instance, nullptr);
    CreateWindowExA(0, "STATIC", "A message of a program that hangs.", WS_CHILD | WS_VISIBLE, 20,
                    20, 260, 20, box, nullptr, instance, nullptr);
    CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 110, 60, 80, 26,
                    box, reinterpret_cast<HMENU>(IDOK), instance, nullptr);
    HWND plain = CreateWindowExA(0, "STATIC", "soak hung window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 200, 200, 300, 150, nullptr, nullptr, instance, nullptr);
    CreateWindowExA(0, "EDIT", "hung text", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24,
                    plain, nullptr, instance, nullptr);
    // Paint once, then stop answering for good.
    MSG msg;
    const DWORD until = GetTickCount() + 1000;
    while (GetTickCount() < until) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
    CreateThread(nullptr, 0, EndLater, reinterpret_cast<void*>(seconds), 0, nullptr);
    std::printf("hung\n");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
