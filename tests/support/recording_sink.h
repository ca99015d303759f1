// The engine's output port as a test sees it: every call recorded as one line, in order.
// Shared by the unit tests (against the fake window system) and the end-to-end tests.
#pragma once

#include <string>
#include <vector>

#include "watcher/message_sink.h"

namespace vantor::testing {

// Whatever keeps calls and messages in the order they happened (the fake window system).
class Timeline {
  public:
    virtual void Note(std::string line) = 0;

  protected:
    ~Timeline() = default;
};

// Records every call; with `timeline` set, also notes each line there, so a table can state
// the order of calls and messages.
class RecordingSink : public MessageSink {
  public:
    void AppendLogEntry(const std::string& caption, const std::string& text) override {
        Record("log '" + caption + "' '" + text + "'");
    }
    void RestartCountdown() override { Record("countdown"); }
    void ShowMessage(WindowHandle window, const std::string& caption,
                     const std::string& text) override {
        Record("show " + std::to_string(window) + " '" + caption + "' '" + text + "'");
    }
    std::vector<std::string> calls;
    Timeline* timeline = nullptr;

  private:
    void Record(const std::string& line) {
        calls.push_back(line);
        if (timeline) timeline->Note(line);
    }
};

}  // namespace vantor::testing
