// The window spy at work: the Spy command puts the message window up at the corner, and a
// 50 ms timer follows the mouse pointer. The tick reads the window under the pointer on the
// timer thread (through the bounded reads of the window system: a hung window costs a
// bounded wait) and hands a new text to the GUI thread, which shows it. The timer thread
// never waits for the GUI thread, so Exit stops the timer without a deadlock.
#pragma once

#include <atomic>
#include <string>

#include "forms/mm_timer_win32.h"
#include "forms/ui_task_win32.h"
#include "ui/message_window_win32.h"
#include "ui/spy.h"

namespace vantor {

class SpyRunner {
  public:
    SpyRunner(WindowSystem& ws, MessageWindow& window, UiTaskQueue& tasks);

    // The Spy command, GUI thread: the start text with `caption` as the title, the window at
    // the corner, opaque and active, the countdown not restarted (it still hides the window
    // once the window has lost the foreground); then the timer starts.
    void Start(const std::string& caption);
    // The Close button and Exit: the timer stops at once, and a text a tick has already
    // handed over is not shown. GUI thread.
    void Stop();
    bool Running() const { return timer_.Running(); }

  private:
    void Tick();                                           // timer thread
    void Show(unsigned session, const std::string& text);  // GUI thread

    MessageWindow& window_;
    UiTaskQueue& tasks_;
    Spy spy_;
    // Changes with every start and stop: whatever a tick of an earlier run handed over to
    // the GUI thread is dropped there (a repeated Spy command shows its start text).
    std::atomic<unsigned> session_{0};
    std::atomic<bool> stopHandedOver_{false};
    PeriodicTimer timer_;
};

}  // namespace vantor
