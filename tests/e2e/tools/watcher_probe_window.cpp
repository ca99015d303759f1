// Another program for the watcher's probes and keyboard helpers: a top-level window of the
// class "Watcher<TAB>Probe" with a focused EDIT control.
//   watcher_probe_window edit [TEXT]   runs a message loop until closed (at most 60 s)
//   watcher_probe_window hang [TEXT]   shows the window, then stops answering for 30 s
// Prints "ready" once the window is shown; exits with 0.
// Like a careful application it gives the focus back to its edit control whenever its window
// is activated. So that only the watcher can be seen at work, its edit control ignores Ctrl+A
// itself, and Esc does not close its Yes/No question (as on Windows, where a Yes/No box has
// no Cancel). Messages a test may send to the top-level window:
//   WM_APP+1 (posted)  ask a Yes/No question "Watcher probe question" owned by the window
//   WM_APP+2           the answer to the last question (IDYES 6, IDNO 7), 0 while open
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kClassName[] = "Watcher\tProbe";
constexpr UINT kAsk = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;

HWND g_edit = nullptr;
WNDPROC g_editProc = nullptr;
LRESULT g_answer = 0;
HHOOK g_filter = nullptr;

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool ctrlA = (message == WM_KEYDOWN && wParam == 'A' && GetKeyState(VK_CONTROL) < 0) ||
                       (message == WM_CHAR && wParam == 1);
    if (ctrlA) return 0;
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

// Dialog loops of this thread: Esc never reaches the question.
LRESULT CALLBACK DropEscape(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && msg->wParam == VK_ESCAPE &&
        (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR)) {
        return 1;
    }
    return CallNextHookEx(g_filter, code, wParam, lParam);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            DestroyWindow(window);  // never outlive the test that started us
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && g_edit) SetFocus(g_edit);
            return 0;
        case kAsk:
            g_answer = 0;
            g_answer =
                MessageBoxA(window, "Go on?", "Watcher probe question", MB_YESNO | MB_ICONQUESTION);
            return 0;
        case kAnswer:
            return g_answer;
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
    g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text.c_str(),
                             WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 360, 24, top,
                             reinterpret_cast<HMENU>(100), wc.hInstance, nullptr);
    if (!g_edit) return 4;
    g_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    g_filter = SetWindowsHookExA(WH_MSGFILTER, DropEscape, nullptr, GetCurrentThreadId());
    ShowWindow(top, SW_SHOW);
    SetForegroundWindow(top);
    SetFocus(g_edit);
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
    if (g_filter) UnhookWindowsHookEx(g_filter);
    return 0;
}
