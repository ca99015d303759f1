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
