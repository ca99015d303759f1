#include "watcher/window_system_win32.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <vector>

namespace vantor {
namespace {

HWND H(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
WindowHandle W(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

// One message to send, with the memory it points to owned here: a helper thread that is
// left behind in a send still writes only into this job, never into the caller's memory.
struct SendJob {
    enum Kind { kPlain, kTextIn, kTextOut, kSelection };
    HWND window = nullptr;
    DWORD thread = 0;  // the window's thread
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    Kind kind = kPlain;
    std::string textIn;           // kTextIn: the NUL-terminated text lParam points to
    std::vector<char> textOut;    // kTextOut: the buffer of wParam bytes lParam points to
    DWORD selStart = 0xFFFFFFFF;  // kSelection: EM_GETSEL's two out parameters
    DWORD selEnd = 0xFFFFFFFF;
    DWORD_PTR result = 0;
    bool answered = false;

    void Run() {
        WPARAM wp = wParam;
        LPARAM lp = lParam;
        if (kind == kTextIn) lp = reinterpret_cast<LPARAM>(textIn.c_str());
        if (kind == kTextOut) {
            wp = static_cast<WPARAM>(textOut.size());
            lp = reinterpret_cast<LPARAM>(textOut.data());
        }
        if (kind == kSelection) {
            wp = reinterpret_cast<WPARAM>(&selStart);
            lp = reinterpret_cast<LPARAM>(&selEnd);
        }
        DWORD_PTR answer = 0;
        answered = SendMessageTimeoutA(window, message, wp, lp, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                                       Win32WindowSystem::kSendTimeoutMs, &answer) != 0;
        result = answer;
    }
};

// What the caller and one helper thread share; it outlives whichever of them ends first.
struct SenderShared {
    std::mutex mutex;
    std::condition_variable wake;
    std::shared_ptr<SendJob> job;
    bool done = false;
    bool quit = false;
    bool abandoned = false;
    bool retired = false;  // the helper ended after a while without work
};

// The threads whose windows a helper is still stuck sending to: further messages to them
// count as unanswered at once, while every other program is served as usual.
struct StuckThreads {
    std::mutex mutex;
    std::multiset<DWORD> threads;

    bool Blocks(DWORD thread, std::size_t limit) {
        std::lock_guard<std::mutex> lock(mutex);
        return threads.size() >= limit || threads.count(thread) > 0;
    }
    void Add(DWORD thread) {
        std::lock_guard<std::mutex> lock(mutex);
        threads.insert(thread);
    }
    void Remove(DWORD thread) {
        std::lock_guard<std::mutex> lock(mutex);
        const auto it = threads.find(thread);
        if (it != threads.end()) threads.erase(it);
    }
};

constexpr std::chrono::seconds kHelperIdleTime{10};

void HelperLoop(const std::shared_ptr<SenderShared>& shared,
                const std::shared_ptr<StuckThreads>& stuck) {
    for (;;) {
        std::unique_lock<std::mutex> lock(shared->mutex);
        // An idle helper ends, so that its stack is not kept while nothing needs sending;
        // the next send starts a new one.
        if (!shared->wake.wait_for(lock, kHelperIdleTime,
                                   [&] { return shared->job || shared->quit; })) {
            shared->retired = true;
            return;
        }
        if (!shared->job) return;
        const std::shared_ptr<SendJob> job = shared->job;
        lock.unlock();
        job->Run();
        lock.lock();
        shared->job.reset();
        shared->done = true;
        const bool abandoned = shared->abandoned;
        lock.unlock();
        shared->wake.notify_all();
        if (abandoned) {
            stuck->Remove(job->thread);
            return;
        }
    }
}

struct HelperStart {
    std::shared_ptr<SenderShared> shared;
    std::shared_ptr<StuckThreads> stuck;
};

DWORD WINAPI HelperMain(void* param) {
    const std::unique_ptr<HelperStart> start(static_cast<HelperStart*>(param));
    HelperLoop(start->shared, start->stuck);
    return 0;
}

// The helper only sends messages: a small stack keeps its share of the memory small (every
// thread's default stack costs about a megabyte of resident memory under Wine).
constexpr SIZE_T kHelperStackBytes = 64 * 1024;

HANDLE StartHelper(const std::shared_ptr<SenderShared>& shared,
                   const std::shared_ptr<StuckThreads>& stuck) {
    auto* start = new HelperStart{shared, stuck};
    const HANDLE thread = CreateThread(nullptr, kHelperStackBytes, HelperMain, start,
                                       STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) delete start;
    return thread;
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

// A WinEvent callback carries no context of its own: the cache that the one watching
// window system registered. Written and read on the GUI thread and read by ticks.
std::atomic<ForegroundCache*> g_foregroundEvents{nullptr};

void CALLBACK OnForegroundEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    if (ForegroundCache* cache = g_foregroundEvents.load()) cache->MarkChanged(GetTickCount());
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

class Win32WindowSystem::Sender {
  public:
    ~Sender() {
        if (shared_) {
            {
                std::lock_guard<std::mutex> lock(shared_->mutex);
                shared_->quit = true;
            }
            shared_->wake.notify_all();
        }
        if (helper_) {
            WaitForSingleObject(helper_, INFINITE);
            CloseHandle(helper_);
        }
    }

    // False when the window's thread did not answer in time, is hung, or the window is gone.
    bool Send(SendJob& job) {
        ForgetForeground();
        DWORD pid = 0;
        const DWORD thread = GetWindowThreadProcessId(job.window, &pid);
        if (thread == 0) return false;
        if (thread == GetCurrentThreadId()) {
            // Our own thread's window: a plain call, which cannot wait for anyone.
            job.Run();
            return job.answered;
        }
        job.thread = thread;
        // One send at a time through the helper, whichever thread asks.
        std::lock_guard<std::mutex> callers(callers_);
        if (stuck_->Blocks(thread, kMaxStuckSenders)) return false;
        if (shared_ && HelperRetired()) {
            // It has returned or is about to: nothing of it is left but its handle.
            WaitForSingleObject(helper_, INFINITE);
            CloseHandle(helper_);
            helper_ = nullptr;
            shared_.reset();
        }
        if (!shared_) {
            auto shared = std::make_shared<SenderShared>();
            helper_ = StartHelper(shared, stuck_);
            if (!helper_) return false;
            shared_ = std::move(shared);
        }
        auto owned = std::make_shared<SendJob>(std::move(job));
        std::unique_lock<std::mutex> lock(shared_->mutex);
        shared_->job = owned;
        shared_->done = false;
        shared_->wake.notify_all();
        const bool finished = shared_->wake.wait_for(
            lock, std::chrono::milliseconds(kSendTimeoutMs + 250), [&] { return shared_->done; });
        if (!finished) {
            // Leave the helper to its send; it ends by itself when the send returns.
            shared_->abandoned = true;
            stuck_->Add(thread);
            lock.unlock();
            CloseHandle(helper_);
            helper_ = nullptr;
            shared_.reset();
            return false;
        }
        lock.unlock();
        job = std::move(*owned);
        return job.answered;
    }

  private:
    bool HelperRetired() {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        return shared_->retired;
    }

    std::mutex callers_;
    std::shared_ptr<SenderShared> shared_;
    HANDLE helper_ = nullptr;
    std::shared_ptr<StuckThreads> stuck_ = std::make_shared<StuckThreads>();
};

namespace {

bool SendBounded(Win32WindowSystem::Sender& sender, WindowHandle window, UINT message,
                 WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr) {
    if (!window) return false;
    SendJob job;
    job.window = H(window);
    job.message = message;
    job.wParam = wParam;
    job.lParam = lParam;
    const bool ok = sender.Send(job);
    if (result) *result = job.result;
    return ok;
}

// A message whose lParam points at a text of ours (WM_SETTEXT, EM_REPLACESEL), wParam 0.
bool SendTextBounded(Win32WindowSystem::Sender& sender, WindowHandle window, UINT message,
                     std::string_view text) {
    if (!window) return false;
    SendJob job;
    job.window = H(window);
    job.message = message;
    job.kind = SendJob::kTextIn;
    job.textIn = std::string(text);
    return sender.Send(job);
}

}  // namespace

Win32WindowSystem::Win32WindowSystem()
    : stopEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      sender_(std::make_unique<Sender>()) {}

Win32WindowSystem::~Win32WindowSystem() {
    if (stopEvent_) CloseHandle(stopEvent_);
}

void Win32WindowSystem::CancelSleeps() {
    if (stopEvent_) SetEvent(stopEvent_);
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
    if (foregroundHooks_[0] || foregroundHooks_[1]) return true;
    // Out of context: the events come to this thread's message queue, nothing is loaded
    // into other programs. Windows reports foreground changes; Wine only window creation
    // and some focus changes, hence the range from created to focused (not the frequent
    // location changes beyond it).
    g_foregroundEvents.store(&foreground_);
    const DWORD events[2][2] = {{EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
                                {EVENT_OBJECT_CREATE, EVENT_OBJECT_FOCUS}};
    for (int i = 0; i < 2; ++i) {
        foregroundHooks_[i] = SetWinEventHook(events[i][0], events[i][1], nullptr,
                                              OnForegroundEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    }
    const bool watching = foregroundHooks_[0] && foregroundHooks_[1];
    if (!watching) StopWatchingForegroundChanges();
    foreground_.SetEventsActive(watching);
    return watching;
}

void Win32WindowSystem::StopWatchingForegroundChanges() {
    foreground_.SetEventsActive(false);
    for (void*& hook : foregroundHooks_) {
        if (hook) UnhookWinEvent(static_cast<HWINEVENTHOOK>(hook));
        hook = nullptr;
    }
    g_foregroundEvents.store(nullptr);
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

WindowHandle Win32WindowSystem::FocusedControlOf(WindowHandle window) {
    const DWORD me = GetCurrentThreadId();
    const DWORD target = window ? GetWindowThreadProcessId(H(window), nullptr) : 0;
    if (target == 0) return 0;
    if (target == me) return W(GetFocus());
    // Attaching needs a message queue on both threads; the timer thread may not have one yet.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    // Share the target thread's input state for one GetFocus only.
    if (!AttachThreadInput(target, me, TRUE)) return 0;
    const HWND focus = GetFocus();
    AttachThreadInput(target, me, FALSE);
    return W(focus);
}

std::int64_t Win32WindowSystem::TextLength(WindowHandle window) {
    DWORD_PTR result = 0;
    if (!SendBounded(*sender_, window, WM_GETTEXTLENGTH, 0, 0, &result)) return 0;
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
    return SendTextBounded(*sender_, window, WM_SETTEXT, text);
}

bool Win32WindowSystem::Click(WindowHandle button) {
    return SendBounded(*sender_, button, BM_CLICK, 0, 0);
}

int Win32WindowSystem::GetCheck(WindowHandle button) {
    DWORD_PTR result = 0;
    if (!SendBounded(*sender_, button, BM_GETCHECK, 0, 0, &result)) return kNoAnswer;
    return static_cast<int>(result);
}

bool Win32WindowSystem::SetCheck(WindowHandle button, int state) {
    return SendBounded(*sender_, button, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

bool Win32WindowSystem::SysCommand(WindowHandle window, unsigned command) {
    return SendBounded(*sender_, window, WM_SYSCOMMAND, command, 0);
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
    return SendBounded(*sender_, edit, EM_SETSEL, static_cast<WPARAM>(static_cast<INT_PTR>(start)),
                       static_cast<LPARAM>(end));
}

bool Win32WindowSystem::ReplaceSelection(WindowHandle edit, std::string_view text) {
    return SendTextBounded(*sender_, edit, EM_REPLACESEL, text);
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

void Win32WindowSystem::Sleep(std::uint32_t milliseconds) {
    if (stopEvent_) {
        WaitForSingleObject(stopEvent_, milliseconds);
    } else {
        ::Sleep(milliseconds);
    }
}

}  // namespace vantor
