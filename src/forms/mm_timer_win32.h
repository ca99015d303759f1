// A periodic multimedia timer (timeSetEvent TIME_PERIODIC). The handler runs on the
// system's multimedia-timer thread. Stopping never waits for a handler that is running (it
// may be blocked in another program); WaitForIdleTimers bounds that wait at shutdown.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>

namespace vantor {

class PeriodicTimer {
  public:
    PeriodicTimer(UINT period, UINT resolution, std::function<void()> handler)
        : period_(period), resolution_(resolution), handler_(std::move(handler)) {}
    PeriodicTimer(const PeriodicTimer&) = delete;
    PeriodicTimer& operator=(const PeriodicTimer&) = delete;

    void Start();
    void Stop();
    bool Running() const;
    // A new period restarts a running timer; the same period does nothing.
    void SetPeriod(UINT period);
    UINT Period() const;

  private:
    static void CALLBACK Callback(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
    void StartLocked();
    void StopLocked();

    mutable std::mutex mutex_;
    UINT period_;
    UINT resolution_;
    std::function<void()> handler_;
    UINT id_ = 0;
    std::atomic<bool> running_{false};
};

// Waits up to `milliseconds` for timer handlers still running; false when one is still busy.
// While waiting it answers messages sent to this thread, so a handler that sends to our own
// windows can finish.
bool WaitForIdleTimers(DWORD milliseconds);

}  // namespace vantor
