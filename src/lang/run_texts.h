// The run-time texts the engine and the message window use, with their built-in English
// values. The language loader replaces them as a whole; the timer thread reads a snapshot.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace vantor {

struct RunTexts {
    // The three button words are kept upper-cased: a button is recognised by comparing its
    // upper-cased text with them.
    std::string ssYes = "YES";
    std::string ssNo = "NO";
    std::string ssOK = "OK";
    std::string ssClose = "Close";
    std::string ssClosed = "Closed";
    std::string ssNotAutoClosed = "There were no automatically closed windows.";
    std::string ssVantorRunning = "Vantor now is running.";
    std::string ssPressedButton = "Pressed button";
    std::string ssFirstMessage = "It was first message.";
    std::string ssLastMessage = "It was last message.";
};

// Shared between the GUI thread (a language is applied) and the timer thread (the engine
// reads the words): readers take an immutable snapshot, a writer replaces it whole.
class SharedRunTexts {
  public:
    SharedRunTexts() : current_(std::make_shared<const RunTexts>()) {}
    std::shared_ptr<const RunTexts> Get() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return current_;
    }
    void Set(RunTexts texts) {
        auto next = std::make_shared<const RunTexts>(std::move(texts));
        std::lock_guard<std::mutex> lock(mutex_);
        current_ = std::move(next);
    }

  private:
    mutable std::mutex mutex_;
    std::shared_ptr<const RunTexts> current_;
};

}  // namespace vantor
