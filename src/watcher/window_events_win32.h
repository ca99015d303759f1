// The system's window events, received out of context: their callback runs in the message
// loop of the thread that started them (the GUI thread), and nothing is loaded into other
// programs. Every event tells the foreground cache that the foreground window may have
// changed. A listener, when one is set, also hears of each top-level window of another
// program that is created, shown, brought to the foreground or started as a dialog.
//
// Measured under Wine 8 (bench/wine/win_events.cpp): for other programs' windows only the
// creation arrives (of every window, children too), and a focus event when a dialog is
// closed; no show, foreground or dialog-start event. Windows sends all of them.
#pragma once

#include <cstdint>

#include "watcher/foreground_cache.h"
#include "watcher/window_handle.h"

namespace vantor {

class TopLevelListener {
  public:
    virtual ~TopLevelListener() = default;
    // On the thread that started the events, at `now` (GetTickCount). Keep it short: the
    // window is only to be noted here, never analysed.
    virtual void OnTopLevelWindow(WindowHandle window, std::uint32_t now) = 0;
};

// One per program: the system's callback carries no context of its own.
class WindowEvents {
  public:
    WindowEvents() = default;
    ~WindowEvents() { Stop(); }
    WindowEvents(const WindowEvents&) = delete;
    WindowEvents& operator=(const WindowEvents&) = delete;

    // On the thread whose message loop will receive the events. False (and nothing started)
    // when the system offers no such events.
    bool Start(ForegroundCache& cache);
    void Stop();
    bool Started() const { return hooks_[0] != nullptr; }
    // Any thread; nullptr for none.
    void SetListener(TopLevelListener* listener);

  private:
    void* hooks_[3] = {};  // HWINEVENTHOOKs
};

}  // namespace vantor
