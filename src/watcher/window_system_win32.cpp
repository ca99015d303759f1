#include "watcher/window_system_win32.h"

#include <windows.h>

#include <string>

namespace vantor {
namespace {

HWND H(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
WindowHandle W(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

// SendMessageA with a bounded wait: false when the window's thread did not answer in time
// (or is hung, or the window is gone).
bool SendBounded(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD_PTR* result = nullptr) {
    DWORD_PTR answer = 0;
    const LRESULT ok =
        SendMessageTimeoutA(H(window), message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                            Win32WindowSystem::kSendTimeoutMs, &answer);
    if (result) *result = answer;
    return ok != 0;
}

bool OwnedByOtherThreadOfThisProcess(HWND window) {
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &pid);
    return thread != 0 && pid == GetCurrentProcessId() && thread != GetCurrentThreadId();
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM param) {
    const auto& visit = *reinterpret_cast<const std::function<bool(WindowHandle)>*>(param);
    return visit(W(window)) ? TRUE : FALSE;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() : stopEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

Win32WindowSystem::~Win32WindowSystem() {
    if (stopEvent_) CloseHandle(stopEvent_);
}

void Win32WindowSystem::CancelSleeps() {
    if (stopEvent_) SetEvent(stopEvent_);
}

WindowHandle Win32WindowSystem::ForegroundWindow() {
    return W(GetForegroundWindow());
}

WindowHandle Win32WindowSystem::FirstChild(WindowHandle window) {
    return window ? W(GetWindow(H(window), GW_CHILD)) : 0;
}

WindowHandle Win32WindowSystem::NextSibling(WindowHandle window) {
    return window ? W(GetWindow(H(window), GW_HWNDNEXT)) : 0;
}

WindowHandle Win32WindowSystem::Parent(WindowHandle window) {
    return window ? W(GetParent(H(window))) : 0;
}

std::string Win32WindowSystem::ClassName(WindowHandle window) {
    if (!window) return {};
    char buffer[255];
    const int n = GetClassNameA(H(window), buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string Win32WindowSystem::WindowText(WindowHandle window) {
    if (!window) return {};
    char buffer[1024] = {};
    if (OwnedByOtherThreadOfThisProcess(H(window))) {
        // For our own windows GetWindowTextA would send WM_GETTEXT without a bound, and the
        // GUI thread may be waiting for this one.
        if (!SendBounded(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)))
            return {};
        buffer[sizeof buffer - 1] = '\0';
        return std::string(buffer);
    }
    // Other programs' captions come from the window manager without a message to them.
    const int n = GetWindowTextA(H(window), buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

bool Win32WindowSystem::IsVisible(WindowHandle window) {
    return window && IsWindowVisible(H(window));
}

bool Win32WindowSystem::IsIconic(WindowHandle window) {
    return window && ::IsIconic(H(window));
}

std::uint32_t Win32WindowSystem::Style(WindowHandle window) {
    return window ? static_cast<std::uint32_t>(GetWindowLongA(H(window), GWL_STYLE)) : 0;
}

WindowRect Win32WindowSystem::Rect(WindowHandle window) {
    RECT r{};
    if (!window || !GetWindowRect(H(window), &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

WindowHandle Win32WindowSystem::WindowFromPoint(std::int32_t x, std::int32_t y) {
    return W(::WindowFromPoint(POINT{x, y}));
}

void Win32WindowSystem::EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) {
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&visit));
}

WindowHandle Win32WindowSystem::FocusedControlOf(WindowHandle window) {
    const DWORD me = GetCurrentThreadId();
    const DWORD target = window ? GetWindowThreadProcessId(H(window), nullptr) : 0;
    if (target == 0) return 0;
    if (target == me) return W(GetFocus());
    // Share the target thread's input state for one GetFocus only.
    if (!AttachThreadInput(target, me, TRUE)) return 0;
    const HWND focus = GetFocus();
    AttachThreadInput(target, me, FALSE);
    return W(focus);
}

std::int64_t Win32WindowSystem::TextLength(WindowHandle window) {
    DWORD_PTR result = 0;
    if (!window || !SendBounded(window, WM_GETTEXTLENGTH, 0, 0, &result)) return 0;
    return static_cast<std::int64_t>(static_cast<LRESULT>(result));
}

std::int64_t Win32WindowSystem::ReadText(WindowHandle window, char* buffer, std::size_t size) {
    DWORD_PTR result = 0;
    if (!window || !SendBounded(window, WM_GETTEXT, static_cast<WPARAM>(size),
                                reinterpret_cast<LPARAM>(buffer), &result))
        return -1;
    return static_cast<std::int64_t>(static_cast<LRESULT>(result));
}

bool Win32WindowSystem::SetText(WindowHandle window, std::string_view text) {
    const std::string terminated(text);
    return window &&
           SendBounded(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()));
}

bool Win32WindowSystem::Click(WindowHandle button) {
    return button && SendBounded(button, BM_CLICK, 0, 0);
}

int Win32WindowSystem::GetCheck(WindowHandle button) {
    DWORD_PTR result = 0;
    if (!button || !SendBounded(button, BM_GETCHECK, 0, 0, &result)) return kNoAnswer;
    return static_cast<int>(result);
}

bool Win32WindowSystem::SetCheck(WindowHandle button, int state) {
    return button && SendBounded(button, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

bool Win32WindowSystem::SysCommand(WindowHandle window, unsigned command) {
    return window && SendBounded(window, WM_SYSCOMMAND, command, 0);
}

bool Win32WindowSystem::Show(WindowHandle window, int showCommand) {
    if (!window) return false;
    // ShowWindow on another thread's window waits for that thread; the asynchronous form
    // does the same for a responsive window without the wait.
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(H(window), &pid);
    if (thread == 0) return false;
    if (thread == GetCurrentThreadId()) {
        ShowWindow(H(window), showCommand);
        return true;
    }
    return ShowWindowAsync(H(window), showCommand) != 0;
}

bool Win32WindowSystem::GetSelection(WindowHandle edit, std::int32_t& start, std::int32_t& end) {
    start = end = 0;
    DWORD s = 0xFFFFFFFF;
    DWORD e = 0xFFFFFFFF;
    DWORD_PTR result = 0;
    if (!edit || !SendBounded(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s),
                              reinterpret_cast<LPARAM>(&e), &result))
        return false;
    if (s == 0xFFFFFFFF || e == 0xFFFFFFFF) {
        // The positions did not come back through the pointers: take the packed result.
        s = LOWORD(result);
        e = HIWORD(result);
    }
    start = static_cast<std::int32_t>(s);
    end = static_cast<std::int32_t>(e);
    return true;
}

bool Win32WindowSystem::SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) {
    return edit && SendBounded(edit, EM_SETSEL, static_cast<WPARAM>(static_cast<INT_PTR>(start)),
                               static_cast<LPARAM>(end));
}

bool Win32WindowSystem::ReplaceSelection(WindowHandle edit, std::string_view text) {
    const std::string terminated(text);
    return edit &&
           SendBounded(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(terminated.c_str()));
}

std::int16_t Win32WindowSystem::AsyncKeyState(int virtualKey) {
    return static_cast<std::int16_t>(GetAsyncKeyState(virtualKey));
}

std::uint32_t Win32WindowSystem::TickCount() {
    return GetTickCount();
}

void Win32WindowSystem::Sleep(std::uint32_t milliseconds) {
    if (stopEvent_) {
        WaitForSingleObject(stopEvent_, milliseconds);
    } else {
        ::Sleep(milliseconds);
    }
}

}  // namespace vantor
