// The engine's output port as a test sees it: every call recorded as one line, in order.
// Shared by the unit tests (against the fake window system) and the end-to-end tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "watcher/message_sink.h"

namespace vantor::testing {

// Records every call; with `timeline` set, also hands each line to it (the fake window
// system's record of messages), so a table can state the order of calls and messages.
class RecordingSink : public MessageSink {
  public:
    void AppendLogEntry(const std::string& caption, const std::string& text) override {
        Record("log '" + caption + "' '" + text + "'");
    }
    void RestartCountdown() override { Record("countdown"); }
    void ShowClosedMessage(WindowHandle window, const std::string& caption,
                           const std::string& text) override {
        Record("show " + std::to_string(window) + " '" + caption + "' '" + text + "'");
    }
    std::vector<std::string> calls;
    std::function<void(const std::string&)> timeline;

  private:
    void Record(const std::string& line) {
        calls.push_back(line);
        if (timeline) timeline(line);
    }
};

}  // namespace vantor::testing
