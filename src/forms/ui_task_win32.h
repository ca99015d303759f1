// Runs closures on the GUI thread: any thread posts a heap-allocated std::function to a
// message-only window, which runs and deletes it. Posting never blocks the caller.
#pragma once

#include <windows.h>

#include <functional>

namespace vantor {

class UiTaskQueue {
  public:
    // Creates the message-only window; call on the GUI thread.
    bool Create(HINSTANCE instance);
    // False (and the task dropped) when the queue is gone or full.
    bool Post(std::function<void()> task);
    HWND Window() const { return window_; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

}  // namespace vantor
