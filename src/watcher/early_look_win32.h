// The early look: the system's window events announce other programs' new top-level windows
// on the watcher's own thread (forms/tick_thread_win32), which notes each one and asks its
// program, without waiting, whether it takes messages (SendMessageCallback with WM_NULL). The
// answer comes back to the same thread's queue once that program is back in its message loop,
// its window built; the thread then looks at every window answered so far, right after the
// messages that brought the answers (LookAtAnswered), between its ticks. Nothing here ever
// waits for another program. The ticks and the full pass stay as they are and catch whatever
// an event misses.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "watcher/scanner.h"
#include "watcher/window_system_win32.h"

namespace vantor {

class EarlyLook : public TopLevelListener {
  public:
    EarlyLook(Win32WindowSystem& ws, Scanner& scanner);
    ~EarlyLook() override;
    EarlyLook(const EarlyLook&) = delete;
    EarlyLook& operator=(const EarlyLook&) = delete;

    // Any thread: new windows are looked at from now on...
    void Start();
    // ...and no more: windows noted meanwhile are forgotten, no look starts after this
    // returns (one already running is not waited for).
    void Stop();

    // The watcher's thread: a new top-level window of another program. Only notes it and asks
    // its program; it may run nested inside a send of a tick.
    void OnTopLevelWindow(WindowHandle window, std::uint32_t now) override;
    // The watcher's thread, from its loop (never nested in a send): the early look at every
    // window whose program has answered, several at a time in a burst.
    void LookAtAnswered();

  private:
    // The watcher's thread, from its message queue: the program of `window` answered.
    static void CALLBACK OnAnswer(HWND window, UINT, ULONG_PTR self, LRESULT);

    Win32WindowSystem& ws_;
    Scanner& scanner_;
    std::atomic<bool> on_{false};
};

}  // namespace vantor
