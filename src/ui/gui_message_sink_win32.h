// The message window as the watcher sees it. Called on the watcher's thread: the log
// is appended at once (it is guarded), the countdown restarts at once (guarded), and the
// show is posted to the GUI thread, so a tick never waits for the GUI thread and the order
// log entry, click, show is kept.
#pragma once

#include <windows.h>

#include "forms/ui_task_win32.h"
#include "ui/history.h"
#include "ui/history_writer_win32.h"
#include "ui/message_log.h"
#include "ui/message_window_win32.h"
#include "watcher/message_sink.h"

namespace vantor {

class GuiMessageSink : public MessageSink {
  public:
    GuiMessageSink(MessageLog& log, MessageWindow& window, UiTaskQueue& tasks,
                   HistoryWriter& history)
        : log_(log), window_(window), tasks_(tasks), history_(history) {}

    void AppendLogEntry(const std::string& caption, const std::string& text) override {
        log_.Append(caption, text);
    }
    void RestartCountdown() override { window_.RestartCountdown(); }
    void ShowMessage(WindowHandle closed, const std::string& caption,
                     const std::string& text) override {
        // Read now: the dialog is usually destroyed before the GUI thread gets to the show.
        std::optional<RECT> rect;
        RECT r;
        if (closed != 0 && GetWindowRect(reinterpret_cast<HWND>(closed), &r)) rect = r;
        MessageWindow* window = &window_;
        tasks_.Post([window, closed, rect, caption, text] {
            window->ShowMessage(closed, rect, caption, text);
        });
    }

    void RecordAction(const DoneAction& action) override {
        if (!repeats_.IsRepeat(action, GetTickCount())) history_.Record(action);
    }

  private:
    MessageLog& log_;
    MessageWindow& window_;
    UiTaskQueue& tasks_;
    HistoryWriter& history_;
    HistoryRepeats repeats_;  // timer thread only
};

}  // namespace vantor
