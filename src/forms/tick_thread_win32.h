// The watcher's own thread. It runs its handlers on periodic waitable timers and, between
// them, takes what comes to its message queue: the system's window events and the answers to
// messages it sent with a callback arrive there directly, so a new window is looked at on the
// thread that heard of it, with no hop through the GUI thread or a second timer. Every handler
// runs on this thread, one at a time; what they share needs no lock among them.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <functional>

namespace vantor {

class TickThread {
  public:
    static constexpr int kTimers = 2;
    struct Handlers {
        std::function<void()> start;  // first, on the thread: what must belong to it
        std::array<std::function<void()>, kTimers> ticks;  // each on its own timer
        // After every wake-up, once the messages that came were dispatched: the work they
        // left (never done inside a message's callback, which may run nested in a send).
        std::function<void()> afterMessages;
        std::function<void()> end;  // last, on the thread
    };

    explicit TickThread(Handlers handlers);
    ~TickThread();
    TickThread(const TickThread&) = delete;
    TickThread& operator=(const TickThread&) = delete;

    // GUI thread: starts the thread (once) and waits until `start` has run there. False when
    // the thread or its timers could not be made.
    bool Launch();
    // Any thread: timer `i` runs its handler every Period(i) ms from now on, or no more. A tick
    // the system had signalled before Stop is dropped. Starting a running timer changes nothing.
    void Start(int i);
    void Stop(int i);
    bool Running(int i) const { return running_[i].load(); }
    // A new period restarts a running timer; the same period does nothing.
    void SetPeriod(int i, UINT period);
    UINT Period(int i) const { return period_[i].load(); }
    // GUI thread: ends the thread after the handler it is in, if any, and runs `end` there.
    // Waits up to `milliseconds`, answering the messages sent to this thread meanwhile (a
    // handler may be reading one of our windows); false when the thread is still busy then
    // (it ends on its own once its handler returns).
    bool Shutdown(DWORD milliseconds);

  private:
    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    void Arm(int i);

    Handlers handlers_;
    HANDLE thread_ = nullptr;
    HANDLE stop_ = nullptr;     // manual-reset: the thread is to end
    HANDLE started_ = nullptr;  // manual-reset: `start` has run
    std::array<HANDLE, kTimers> timers_{};
    std::array<std::atomic<UINT>, kTimers> period_{};
    std::array<std::atomic<bool>, kTimers> running_{};
    std::atomic<bool> stopping_{false};
};

}  // namespace vantor
