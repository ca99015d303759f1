// Runs closures on the GUI thread: any thread puts a task into the queue the program owns
// and wakes a message-only window, which runs what is queued. The wake message carries
// nothing: any program can post it, and then it only runs the queue. Posting never blocks.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

namespace vantor {

class UiTaskQueue {
  public:
    // More waiting tasks than this means the GUI thread is stuck; later posts are refused.
    static constexpr std::size_t kMaxWaiting = 10000;

    // Creates the message-only window; call on the GUI thread.
    bool Create(HINSTANCE instance);
    // False (and the task dropped) when the queue is gone or full.
    bool Post(std::function<void()> task);
    HWND Window() const { return window_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunWaiting();

    HWND window_ = nullptr;
    std::mutex mutex_;
    std::deque<std::function<void()>> waiting_;
    bool wakePosted_ = false;  // a wake message is on its way: no second one
};

}  // namespace vantor
