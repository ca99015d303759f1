// The watcher's pulse, called every 50 ms on the watcher's thread: the keyboard helpers first,
// then the foreground window's analysis, and every 3000 ms a pass over all top-level windows.
// Between the ticks, on the same thread, an early look at other programs' new windows.
#pragma once

#include <cstdint>

#include "lang/run_texts.h"
#include "lists/list_files.h"
#include "watcher/dialog_closer.h"
#include "watcher/message_sink.h"
#include "watcher/new_window_watch.h"
#include "watcher/window_system.h"

namespace vantor {

// LastCaseChangeTick's marker for "the hot key was released since the last change".
inline constexpr std::int32_t kKeysReleased = 0x7FFF;
inline constexpr std::uint32_t kFullScanInterval = 3000;
inline constexpr std::int64_t kCaseChangeRepeat = 300;

class Scanner {
  public:
    Scanner(WindowSystem& ws, const ProgramLists& lists, MessageSink& sink,
            const LiveOptions& options, const SharedRunTexts& texts);

    // Back to the start state (the main form's initialisation): LastFullScanTick is 0, so
    // the first tick makes a full pass.
    void Reset();
    void ScannerTick();
    // Hands every top-level window, hidden ones included, to the dialog analysis.
    void FullPass();
    // The early look, on the watcher's thread between ticks: every new window whose program
    // has answered since, and those that answer meanwhile, is looked at once
    // (DialogCloser::LookEarly). Ticks, key sampling and the full pass are untouched by it.
    void LookAtNewWindows();
    // Where the system's window events leave new windows; safe from any thread.
    NewWindowWatch& NewWindows() { return newWindows_; }

    DialogCloser& Closer() { return closer_; }
    std::uint32_t LastFullScanTick() const { return lastFullScanTick_; }
    std::int32_t LastCaseChangeTick() const { return lastCaseChangeTick_; }

  private:
    WindowSystem& ws_;
    const ProgramLists& lists_;
    const LiveOptions& options_;
    DialogCloser closer_;
    NewWindowWatch newWindows_;
    // Touched only on the watcher's thread.
    std::uint32_t lastFullScanTick_ = 0;
    std::int32_t lastCaseChangeTick_ = 0;
};

}  // namespace vantor
