#include "forms/tick_thread_win32.h"

#include "forms/fault_note.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace vantor {
namespace {

constexpr DWORD kLongTickMs = 20;

// A periodic timer as exact as the system makes one without raising its clock rate for
// everybody (Windows 10 1803 on); older systems give the plain kind, whose periods the
// system's clock rounds, though their mean stays the period.
HANDLE MakeTimer() {
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
    return timer ? timer : CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

}  // namespace

TickThread::TickThread(Handlers handlers) : handlers_(std::move(handlers)) {}

TickThread::~TickThread() {
    // Only at the process's end; a thread still in a handler then is ended with the process.
    if (thread_ && WaitForSingleObject(thread_, 0) != WAIT_OBJECT_0) return;
    for (HANDLE h : {thread_, stop_, started_}) {
        if (h) CloseHandle(h);
    }
    for (HANDLE h : timers_) {
        if (h) CloseHandle(h);
    }
}

bool TickThread::Launch() {
    if (thread_) return true;
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    started_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    for (HANDLE& timer : timers_) timer = MakeTimer();
    for (HANDLE h : {stop_, started_, timers_[0], timers_[1]}) {
        if (!h) return false;
    }
    thread_ = CreateThread(nullptr, 0, &TickThread::ThreadMain, this, 0, nullptr);
    if (!thread_) return false;
    // `start` only hooks the system's events and waits for nobody; the bound is a guard.
    WaitForSingleObject(started_, 5000);
    for (int i = 0; i < kTimers; ++i) {
        if (running_[i]) Arm(i);
    }
    return true;
}

void TickThread::Arm(int i) {
    if (!timers_[i]) return;
    const UINT period = period_[i].load();
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(period) * 10000;  // relative, in 100 ns
    SetWaitableTimer(timers_[i], &due, static_cast<LONG>(period), nullptr, nullptr, FALSE);
}

void TickThread::Start(int i) {
    if (running_[i].exchange(true) || period_[i] == 0) return;
    Arm(i);
}

void TickThread::Stop(int i) {
    running_[i] = false;
    if (timers_[i]) CancelWaitableTimer(timers_[i]);
}

void TickThread::SetPeriod(int i, UINT period) {
    if (period_[i].exchange(period) == period) return;
    if (running_[i]) {
        Stop(i);
        Start(i);
    }
}

bool TickThread::Shutdown(DWORD milliseconds) {
    for (int i = 0; i < kTimers; ++i) Stop(i);
    if (!thread_) return true;
    stopping_ = true;
    SetEvent(stop_);
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= milliseconds) return WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0;
        const DWORD r = MsgWaitForMultipleObjects(1, &thread_, FALSE, milliseconds - waited,
                                                  QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) return true;
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

DWORD WINAPI TickThread::ThreadMain(void* self) {
    static_cast<TickThread*>(self)->Run();
    return 0;
}

void TickThread::Run() {
    // Above the programs it watches, as the system's multimedia-timer thread that ran the
    // ticks before: a busy desktop must not postpone the look that spares the user a box.
    // Its work is short and bounded, and it sleeps in between.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anything comes
    if (handlers_.start) RunGuarded("the watcher's start", handlers_.start);
    SetEvent(started_);
    const HANDLE waits[1 + kTimers] = {stop_, timers_[0], timers_[1]};
    // Each call here is a round trip to the window manager under Wine, 20 ticks a second: an
    // idle tick costs the wait and the tick, nothing more. Messages are fetched only when the
    // wait says some came (one left from a tick's wake-up ends the next wait at once).
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjectsEx(1 + kTimers, waits, INFINITE, QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0 || stopping_) break;
        const DWORD timer = r - WAIT_OBJECT_0 - 1;
        bool fetch = timer >= static_cast<DWORD>(kTimers);
        if (!fetch && running_[timer] && handlers_.ticks[timer]) {
            const DWORD began = GetTickCount();
            RunGuarded("a watcher tick", handlers_.ticks[timer]);
            // A long tick (a full pass, a rule's wait) leaves its timer signalled again, which
            // the wait would report before any message: fetch them now, or none would come.
            fetch = GetTickCount() - began >= kLongTickMs;
        }
        if (fetch) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
        if (stopping_) break;
        // Also after a tick: answers that came while it waited for a program were taken in then.
        if (handlers_.afterMessages) {
            RunGuarded("the early look at new windows", handlers_.afterMessages);
        }
    }
    if (handlers_.end) RunGuarded("the watcher's end", handlers_.end);
}

}  // namespace vantor
