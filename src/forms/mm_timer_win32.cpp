#include "forms/mm_timer_win32.h"

#include <mmsystem.h>

#include "forms/fault_note.h"

namespace vantor {

namespace {
std::atomic<int> g_handlersRunning{0};
}

void PeriodicTimer::Start() {
    std::lock_guard<std::mutex> lock(mutex_);
    StartLocked();
}

void PeriodicTimer::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    StopLocked();
}

bool PeriodicTimer::Running() const {
    return running_.load();
}

UINT PeriodicTimer::Period() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return period_;
}

void PeriodicTimer::SetPeriod(UINT period) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (period == period_) return;
    period_ = period;
    if (id_ != 0) {
        StopLocked();
        StartLocked();
    }
}

void PeriodicTimer::StartLocked() {
    if (id_ != 0) return;
    running_ = true;
    id_ = timeSetEvent(period_, resolution_, &PeriodicTimer::Callback,
                       reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
    if (id_ == 0) running_ = false;
}

void PeriodicTimer::StopLocked() {
    running_ = false;
    if (id_ != 0) timeKillEvent(id_);
    id_ = 0;
}

void CALLBACK PeriodicTimer::Callback(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* timer = reinterpret_cast<PeriodicTimer*>(user);
    g_handlersRunning.fetch_add(1);
    // A tick that the system had already queued when the timer was stopped does nothing.
    if (timer->running_.load()) RunGuarded("a timer tick", timer->handler_);
    g_handlersRunning.fetch_sub(1);
}

void WakeTimer::Enable() {
    std::lock_guard<std::mutex> lock(mutex_);
    enabled_ = true;
}

void WakeTimer::Disable() {
    UINT pending = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        enabled_ = false;
        pending = id_;
        id_ = 0;
    }
    // Outside the lock: a handler that is starting just now waits for it (and then finds
    // itself replaced); the kill is not synchronous, so it never waits for a handler.
    if (pending) timeKillEvent(pending);
}

bool WakeTimer::Arm() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!enabled_) return false;
    // The wake already armed has not started its handler yet: it will see whatever the
    // caller has just left for it.
    if (id_ != 0) return true;
    // Armed under the lock: its handler cannot check its id before the id is stored.
    id_ = timeSetEvent(1, 1, &WakeTimer::Callback, reinterpret_cast<DWORD_PTR>(this),
                       TIME_ONESHOT | TIME_CALLBACK_FUNCTION);
    return id_ != 0;
}

void CALLBACK WakeTimer::Callback(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* timer = reinterpret_cast<WakeTimer*>(user);
    g_handlersRunning.fetch_add(1);
    bool current = false;
    {
        std::lock_guard<std::mutex> lock(timer->mutex_);
        // A wake that was replaced or disabled after the system had taken it does nothing.
        current = timer->enabled_ && id == timer->id_;
        if (current) timer->id_ = 0;
    }
    if (current) RunGuarded("the early look at new windows", timer->handler_);
    g_handlersRunning.fetch_sub(1);
}

bool WaitForIdleTimers(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (g_handlersRunning.load() > 0) {
        if (GetTickCount() - start >= milliseconds) return false;
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        Sleep(5);
    }
    return true;
}

}  // namespace vantor
