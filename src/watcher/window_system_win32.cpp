#include "watcher/window_system_win32.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "watcher/bounded_send_win32.h"

namespace vantor {
namespace {

HWND H(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
WindowHandle W(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

// Within one timer tick the foreground window is read once: the scanner and the
// advanced list share it, unless something was sent or shown in between.
thread_local bool t_inTick = false;
thread_local bool t_foregroundKnown = false;
thread_local HWND t_foreground = nullptr;
// Set by a send or a show: what we did may have moved the foreground, so the next look
// asks the system rather than the cache.
thread_local bool t_foregroundMoved = false;

void ForgetForeground() {
    t_foregroundKnown = false;
    t_foregroundMoved = true;
}

// The caption the window manager keeps for a window, in the system's code page, at most
// 1023 bytes as with a 1024-byte WM_GETTEXT buffer.
std::string StoredCaption(HWND window) {
    wchar_t wide[1024] = {};
    const int n = InternalGetWindowText(window, wide, 1024);
    if (n <= 0) return {};
    char buffer[1024] = {};
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide, n, buffer, sizeof buffer - 1, nullptr, nullptr);
    return bytes > 0 ? std::string(buffer, static_cast<std::size_t>(bytes)) : std::string();
}

BOOL CALLBACK VisitTopLevel(HWND window, LPARAM param) {
    const auto& visit = *reinterpret_cast<const std::function<bool(WindowHandle)>*>(param);
    return visit(W(window)) ? TRUE : FALSE;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem()
    : stopEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      sender_(std::make_unique<BoundedSender>(ForgetForeground)) {}

Win32WindowSystem::~Win32WindowSystem() {
    if (stopEvent_) CloseHandle(stopEvent_);
}

void Win32WindowSystem::CancelSleeps() {
    if (stopEvent_) SetEvent(stopEvent_);
}

void Win32WindowSystem::ResumeSleeps() {
    if (stopEvent_) ResetEvent(stopEvent_);
}

void Win32WindowSystem::BeginTick() {
    t_inTick = true;
    t_foregroundKnown = false;
}

void Win32WindowSystem::EndTick() {
    t_inTick = false;
    t_foregroundKnown = false;
}

// The desktop window is no foreground window: Windows answers none while nothing is active,
// Wine's desktop the desktop window itself, whose "children" are every top-level window;
// examined as a dialog it would be walked in full and could even be sent a close command.
namespace {
HWND ActiveForegroundWindow() {
    const HWND window = GetForegroundWindow();
    return window == GetDesktopWindow() ? nullptr : window;
}
}  // namespace

WindowHandle Win32WindowSystem::ForegroundWindow() {
    if (!t_inTick) return W(ActiveForegroundWindow());
    if (!t_foregroundKnown) {
        if (t_foregroundMoved) foreground_.MarkChanged(GetTickCount());
        t_foregroundMoved = false;
        t_foreground =
            H(foreground_.Get(GetTickCount(), [] { return W(ActiveForegroundWindow()); }));
        t_foregroundKnown = true;
    }
    return W(t_foreground);
}

bool Win32WindowSystem::WatchForegroundChanges() {
    const bool watching = events_.Start(foreground_);
    foreground_.SetEventsActive(watching);
    return watching;
}

void Win32WindowSystem::StopWatchingForegroundChanges() {
    foreground_.SetEventsActive(false);
    events_.Stop();
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

bool Win32WindowSystem::IsChild(WindowHandle parent, WindowHandle window) {
    return parent && window && ::IsChild(H(parent), H(window));
}

std::string Win32WindowSystem::ClassName(WindowHandle window) {
    if (!window) return {};
    const std::uint32_t now = GetTickCount();
    if (std::optional<std::string> known = classes_.Find(window, now)) return *known;
    char buffer[255];
    const int n = GetClassNameA(H(window), buffer, sizeof buffer);
    if (n <= 0) return {};
    std::string name(buffer, static_cast<std::size_t>(n));
    classes_.Keep(window, name, now);
    return name;
}

std::string Win32WindowSystem::WindowText(WindowHandle window) {
    if (!window) return {};
    // Another process's window has no window procedure we could call, and says so without
    // a round trip to the window manager: its caption is the stored one, as GetWindowTextA
    // would read it. Only a window that may be ours needs the ownership lookup below.
    if (GetWindowLongPtrA(H(window), GWLP_WNDPROC) == 0) return StoredCaption(H(window));
    // The desktop (the foreground when nothing else is) never belongs to us: no need to ask.
    DWORD pid = 0;
    const DWORD thread =
        H(window) == GetDesktopWindow() ? 0 : GetWindowThreadProcessId(H(window), &pid);
    if (thread != 0 && pid == GetCurrentProcessId() && thread != GetCurrentThreadId()) {
        // Our own forms and the system's input-method window leave their caption to the
        // default handling, so the stored caption is what WM_GETTEXT would return: read it
        // without waking the GUI thread (the full pass meets these windows every time).
        if (GetClassLongPtrA(H(window), GCLP_HMODULE) ==
                reinterpret_cast<ULONG_PTR>(GetModuleHandleA(nullptr)) ||
            ClassName(window) == "IME") {
            return StoredCaption(H(window));
        }
        // For our own windows GetWindowTextA would send WM_GETTEXT without a bound, and the
        // GUI thread may be waiting for this one.
        SendJob job;
        job.window = H(window);
        job.message = WM_GETTEXT;
        job.kind = SendJob::kTextOut;
        job.textOut.assign(1024, '\0');
        if (!sender_->Send(job)) return {};
        job.textOut.back() = '\0';
        return std::string(job.textOut.data());
    }
    // Other programs' captions come from the window manager without a message to them.
    char buffer[1024] = {};
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

std::uint32_t Win32WindowSystem::ProcessIdOf(WindowHandle window) {
    DWORD pid = 0;
    if (window != 0 && GetWindowThreadProcessId(H(window), &pid) == 0) pid = 0;
    return pid;
}

WindowHandle Win32WindowSystem::FocusedControlOf(WindowHandle window) {
    const DWORD me = GetCurrentThreadId();
    const DWORD target = window ? GetWindowThreadProcessId(H(window), nullptr) : 0;
    if (target == 0) return 0;
    if (target == me) return W(GetFocus());
    // Attaching needs a message queue on both threads; the timer thread may not have one yet.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    // Our thread joins the target's input state for one GetFocus only. Never the other way
    // round: a thread detached from a shared state gets a fresh one, and the target would
    // lose its active window, its focus and the foreground.
    if (!AttachThreadInput(me, target, TRUE)) return 0;
    const HWND focus = GetFocus();
    AttachThreadInput(me, target, FALSE);
    return W(focus);
}

void Win32WindowSystem::NoteAnswered(WindowHandle window) {
    if (const DWORD thread = window ? GetWindowThreadProcessId(H(window), nullptr) : 0) {
        sender_->NoteAnswered(thread);
    }
}

std::int64_t Win32WindowSystem::TextLength(WindowHandle window) {
    DWORD_PTR result = 0;
    if (!SendBounded(*sender_, H(window), WM_GETTEXTLENGTH, 0, 0, &result)) return 0;
    return static_cast<std::int64_t>(static_cast<LRESULT>(result));
}

std::int64_t Win32WindowSystem::ReadText(WindowHandle window, char* buffer, std::size_t size) {
    if (!window || size == 0) return -1;
    SendJob job;
    job.window = H(window);
    job.message = WM_GETTEXT;
    job.kind = SendJob::kTextOut;
    try {
        job.textOut.assign(size, '\0');
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (!sender_->Send(job)) return -1;
    std::memcpy(buffer, job.textOut.data(), size);
    return static_cast<std::int64_t>(static_cast<LRESULT>(job.result));
}

bool Win32WindowSystem::SetText(WindowHandle window, std::string_view text) {
    return SendTextBounded(*sender_, H(window), WM_SETTEXT, text);
}

bool Win32WindowSystem::Click(WindowHandle button) {
    return SendBounded(*sender_, H(button), BM_CLICK, 0, 0);
}

int Win32WindowSystem::GetCheck(WindowHandle button) {
    DWORD_PTR result = 0;
    if (!SendBounded(*sender_, H(button), BM_GETCHECK, 0, 0, &result)) return kNoAnswer;
    return static_cast<int>(result);
}

bool Win32WindowSystem::SetCheck(WindowHandle button, int state) {
    return SendBounded(*sender_, H(button), BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

bool Win32WindowSystem::SysCommand(WindowHandle window, unsigned command) {
    return SendBounded(*sender_, H(window), WM_SYSCOMMAND, command, 0);
}

bool Win32WindowSystem::Show(WindowHandle window, int showCommand) {
    if (!window) return false;
    ForgetForeground();
    // ShowWindow on another thread's window waits for that thread; the asynchronous form
    // does the same for a responsive window without the wait.
    const DWORD thread = GetWindowThreadProcessId(H(window), nullptr);
    if (thread == 0) return false;
    if (thread == GetCurrentThreadId()) {
        ShowWindow(H(window), showCommand);
        return true;
    }
    return ShowWindowAsync(H(window), showCommand) != 0;
}

bool Win32WindowSystem::GetSelection(WindowHandle edit, std::int32_t& start, std::int32_t& end) {
    start = end = 0;
    if (!edit) return false;
    SendJob job;
    job.window = H(edit);
    job.message = EM_GETSEL;
    job.kind = SendJob::kSelection;
    if (!sender_->Send(job)) return false;
    DWORD s = job.selStart;
    DWORD e = job.selEnd;
    if (s == 0xFFFFFFFF || e == 0xFFFFFFFF) {
        // The positions did not come back through the pointers: take the packed result.
        s = LOWORD(job.result);
        e = HIWORD(job.result);
    }
    start = static_cast<std::int32_t>(s);
    end = static_cast<std::int32_t>(e);
    return true;
}

bool Win32WindowSystem::SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) {
    return SendBounded(*sender_, H(edit), EM_SETSEL, static_cast<WPARAM>(static_cast<INT_PTR>(start)),
                       static_cast<LPARAM>(end));
}

bool Win32WindowSystem::ReplaceSelection(WindowHandle edit, std::string_view text) {
    return SendTextBounded(*sender_, H(edit), EM_REPLACESEL, text);
}

std::int16_t Win32WindowSystem::AsyncKeyState(int virtualKey) {
    return static_cast<std::int16_t>(GetAsyncKeyState(virtualKey));
}

std::int16_t Win32WindowSystem::KeyState(int virtualKey) {
    return static_cast<std::int16_t>(GetKeyState(virtualKey));
}

bool Win32WindowSystem::CursorPos(std::int32_t& x, std::int32_t& y) {
    POINT p{};
    if (!GetCursorPos(&p)) {
        x = y = 0;
        return false;
    }
    x = p.x;
    y = p.y;
    return true;
}

std::uint32_t Win32WindowSystem::TickCount() {
    return GetTickCount();
}

bool Win32WindowSystem::Sleep(std::uint32_t milliseconds) {
    if (!stopEvent_) {
        ::Sleep(milliseconds);
        return true;
    }
    return WaitForSingleObject(stopEvent_, milliseconds) == WAIT_TIMEOUT;
}

}  // namespace vantor
