// Suspends a window's redrawing for a scope (WM_SETREDRAW). WM_SETREDRAW works through the
// WS_VISIBLE bit: "resuming" a hidden window would make it visible. So only a window that is
// visible has its redrawing suspended.
#pragma once

#include <windows.h>

namespace vantor {

class RedrawPause {
  public:
    explicit RedrawPause(HWND window)
        : window_(window && IsWindowVisible(window) ? window : nullptr) {
        if (window_) SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawPause() {
        if (window_) SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

  private:
    HWND window_;
};

}  // namespace vantor
