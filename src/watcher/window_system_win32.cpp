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
#include <thread>
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

void HelperLoop(std::shared_ptr<SenderShared> shared, std::shared_ptr<StuckThreads> stuck) {
    for (;;) {
        std::unique_lock<std::mutex> lock(shared->mutex);
        shared->wake.wait(lock, [&] { return shared->job || shared->quit; });
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
        if (helper_.joinable()) helper_.join();
    }

    // False when the window's thread did not answer in time, is hung, or the window is gone.
    bool Send(SendJob& job) {
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
        if (!shared_) {
            shared_ = std::make_shared<SenderShared>();
            helper_ = std::thread(HelperLoop, shared_, stuck_);
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
            helper_.detach();
            shared_.reset();
            return false;
        }
        lock.unlock();
        job = std::move(*owned);
        return job.answered;
    }

  private:
    std::mutex callers_;
    std::shared_ptr<SenderShared> shared_;
    std::thread helper_;
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
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(H(window), &pid);
    if (thread != 0 && pid == GetCurrentProcessId() && thread != GetCurrentThreadId()) {
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
    if (!window) return false;
    SendJob job;
    job.window = H(window);
    job.message = WM_SETTEXT;
    job.kind = SendJob::kTextIn;
    job.textIn = std::string(text);
    return sender_->Send(job);
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
    if (!edit) return false;
    SendJob job;
    job.window = H(edit);
    job.message = EM_REPLACESEL;
    job.kind = SendJob::kTextIn;
    job.textIn = std::string(text);
    return sender_->Send(job);
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
