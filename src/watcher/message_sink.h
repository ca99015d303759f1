// What the window watcher asks of the message window. The running program hands these
// calls to the GUI thread; tests record them.
#pragma once

#include <string>

#include "watcher/window_handle.h"

namespace vantor {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Appends "caption CR LF escaped text" to the message log and makes it the current entry.
    virtual void AppendLogEntry(const std::string& caption, const std::string& text) = 0;
    // Restarts the message window's countdown at its full length.
    virtual void RestartCountdown() = 0;
    // Shows a message as it arrives, without taking the focus; window may be 0.
    virtual void ShowClosedMessage(WindowHandle window, const std::string& caption,
                                   const std::string& text) = 0;
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
