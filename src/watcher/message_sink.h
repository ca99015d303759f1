// What the window watcher asks of the message window. The running program hands these
// calls to the GUI thread; tests record them.
#pragma once

#include <cstdint>
#include <string>

#include "watcher/window_handle.h"

namespace vantor {

// What was done to another program's window, for the history (ui/history.h).
struct DoneAction {
    enum Kind { kClosed, kClosedNotShown, kRule };
    Kind kind = kClosed;
    WindowHandle window = 0;
    std::uint32_t processId = 0;  // the window's program, read before the action; 0 unknown
    std::string caption;
    // A closed message's text; for a rule what the message window shows of it (its first
    // line says what was done).
    std::string text;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Appends the caption and the text, as they are, to the message log as its current entry.
    virtual void AppendLogEntry(const std::string& caption, const std::string& text) = 0;
    // Restarts the message window's countdown at its full length.
    virtual void RestartCountdown() = 0;
    // Shows a message as it arrives, without taking the focus; window may be 0.
    virtual void ShowMessage(WindowHandle window, const std::string& caption,
                             const std::string& text) = 0;
    // A message was closed or a rule acted: recorded in the history, never waited for.
    virtual void RecordAction(const DoneAction& /*action*/) {}
};

// The five options that the watcher reads live on every tick.
class LiveOptions {
public:
    virtual ~LiveOptions() = default;
    virtual bool Autoclose() const = 0;         // cbAutoclose
    virtual bool ChangeCase() const = 0;        // cbChangeCase
    virtual bool ChangeCaseFirst() const = 0;   // cbChangeCaseFirst
    virtual bool SelectAll() const = 0;         // cbSelectAll
    virtual bool CloseYesNo() const = 0;        // cbCloseYesNo
};

}  // namespace vantor
