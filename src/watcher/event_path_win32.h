// The event path: the system's window events announce other programs' new top-level windows
// on the GUI thread, which notes each one and asks its program, without waiting, whether it
// takes messages (SendMessageCallback with WM_NULL). The answer comes back to the GUI thread
// once that program is back in its message loop, its window built; only then is the engine
// woken, on the multimedia-timer thread, to look at the window between its ticks. Nothing
// here ever waits for another program. The ticks and the full pass stay as they are and
// catch whatever an event misses.
#pragma once

#include <atomic>
#include <cstdint>

#include "forms/mm_timer_win32.h"
#include "watcher/scanner.h"
#include "watcher/window_system_win32.h"

namespace vantor {

class EventPath : public TopLevelListener {
  public:
    EventPath(Win32WindowSystem& ws, Scanner& scanner);
    ~EventPath() override;
    EventPath(const EventPath&) = delete;
    EventPath& operator=(const EventPath&) = delete;

    // GUI thread, with the watcher's timers: new windows are looked at from now on...
    void Start();
    // ...and no more: windows noted meanwhile are forgotten, no look starts after this
    // returns (one already running is not waited for; WaitForIdleTimers bounds that).
    void Stop();

    // GUI thread: a new top-level window of another program.
    void OnTopLevelWindow(WindowHandle window, std::uint32_t now) override;

  private:
    // GUI thread, from its message loop: the program of `window` answered our WM_NULL.
    static void CALLBACK OnAnswer(HWND window, UINT, ULONG_PTR self, LRESULT);
    void OnWake();  // timer thread

    Win32WindowSystem& ws_;
    Scanner& scanner_;
    WakeTimer wake_;
    std::atomic<bool> on_{false};
};

}  // namespace vantor
