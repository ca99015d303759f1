// The event path: the system's window events announce other programs' new top-level windows
// on the GUI thread, which only notes them and wakes the engine; the engine then looks at
// them on the multimedia-timer thread, between its ticks, as soon as they are shown. The
// ticks and the full pass stay as they are and catch whatever an event misses.
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

    void OnTopLevelWindow(WindowHandle window, std::uint32_t now) override;

  private:
    void OnWake();  // timer thread

    Win32WindowSystem& ws_;
    Scanner& scanner_;
    WakeTimer wake_;
    std::atomic<bool> on_{false};
};

}  // namespace vantor
