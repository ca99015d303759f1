#include "watcher/watcher_win32.h"

namespace vantor {

Watcher::Watcher(const ProgramLists& lists, MessageSink& sink, const LiveOptions& options,
                 const SharedRunTexts& texts)
    : scanner_(windowSystem_, lists, sink, options, texts),
      advanced_(windowSystem_, lists, sink, texts),
      early_(windowSystem_, scanner_),
      thread_({.start = [this] { windowSystem_.WatchForegroundChanges(); },
               .ticks = {[this] { SharedTick(); },
                         [this] {
                             windowSystem_.BeginTick();
                             scanner_.ScannerTick();
                             windowSystem_.EndTick();
                         }},
               .afterMessages = [this] { early_.LookAtAnswered(); },
               .end = [this] { windowSystem_.StopWatchingForegroundChanges(); }}) {}

void Watcher::SharedTick() {
    // With equal periods one timer serves both: half the wake-ups when idle, and one look at
    // the foreground window for both.
    windowSystem_.BeginTick();
    if (scannerShares_) scanner_.ScannerTick();
    advanced_.AdvancedListTick();
    windowSystem_.EndTick();
}

void Watcher::Reset() {
    scanner_.Reset();
    advanced_.Reset();
}

void Watcher::SetScannerPeriod(UINT milliseconds) {
    thread_.SetPeriod(kScannerTimer, milliseconds);
    scannerShares_ = thread_.Period(kScannerTimer) == kDefaultPeriod;
}

void Watcher::Start(bool windowEvents) {
    windowSystem_.ResumeSleeps();
    // The thread comes with the first start: it hooks the window events to its own queue.
    thread_.SetPeriod(kAdvancedTimer, kDefaultPeriod);
    thread_.Launch();
    if (!scannerShares_) thread_.Start(kScannerTimer);
    thread_.Start(kAdvancedTimer);
    if (windowEvents) early_.Start();
}

void Watcher::Stop() {
    // A tick asleep in an advanced-list rule wakes at once and does nothing more.
    windowSystem_.CancelSleeps();
    early_.Stop();
    thread_.Stop(kScannerTimer);
    thread_.Stop(kAdvancedTimer);
}

void Watcher::Shutdown(DWORD milliseconds) {
    // The thread unhooks the window events on its way out.
    thread_.Shutdown(milliseconds);
}

}  // namespace vantor
