// The watcher's owner: the window system, the scanner, the advanced list, the early look at
// new windows and the thread they all run on. The application says when it starts and stops
// (Disable, Exit) and at what period the scanner looks; everything else stays in here.
#pragma once

#include <windows.h>

#include <atomic>

#include "forms/tick_thread_win32.h"
#include "lang/run_texts.h"
#include "lists/list_files.h"
#include "watcher/advanced_list.h"
#include "watcher/early_look_win32.h"
#include "watcher/message_sink.h"
#include "watcher/scanner.h"
#include "watcher/window_system_win32.h"

namespace vantor {

class Watcher {
  public:
    // The scanner's default period and the advanced list's, ms.
    static constexpr UINT kDefaultPeriod = 50;

    Watcher(const ProgramLists& lists, MessageSink& sink, const LiveOptions& options,
            const SharedRunTexts& texts);
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // Also read by the spy, which shares the timer-side reads of other programs' windows.
    Win32WindowSystem& Windows() { return windowSystem_; }
    // Our own message window is never taken for another program's dialog.
    void SetOwnWindow(WindowHandle window) { scanner_.Closer().SetOwnWindow(window); }
    // The engine's state between ticks back to its start (the main form's initialisation).
    void Reset();
    // The scanner's period ("timer"); with the default it rides on the advanced list's tick.
    void SetScannerPeriod(UINT milliseconds);

    // GUI thread. Start launches the thread the first time; Stop wakes a rule's sleep and
    // ends the ticks and the early look (Disable), Shutdown ends the thread within a bound.
    void Start(bool windowEvents);
    void Stop();
    void Shutdown(DWORD milliseconds);

  private:
    static constexpr int kAdvancedTimer = 0, kScannerTimer = 1;
    void SharedTick();

    Win32WindowSystem windowSystem_;
    Scanner scanner_;
    AdvancedList advanced_;
    // Other programs' new windows are looked at between the ticks ("WindowEvents").
    EarlyLook early_;
    // The advanced list's ticks (kAdvancedTimer), the scanner's (inside them while both have
    // the default period, else on kScannerTimer), the window events and the early look.
    TickThread thread_;
    std::atomic<bool> scannerShares_{true};
};

}  // namespace vantor
