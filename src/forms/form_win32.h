// A top-level window that keeps `this` in GWLP_USERDATA (from WM_NCCREATE until WM_NCDESTROY
// clears it) and hands every message to a member handler; the application window and the
// forms derive from it.
#pragma once

#include <windows.h>

namespace vantor {

class Form {
  public:
    virtual ~Form() = default;
    HWND Window() const { return window_; }

    // The form whose window this is; nullptr for any other window (or after WM_NCDESTROY).
    static Form* FromWindow(HWND window);
    // The message loop offers every message for this window or one of its children here
    // first (keyboard navigation, accelerators); true when the form took it.
    virtual bool PreTranslateMessage(MSG& msg) {
        (void)msg;
        return false;
    }

  protected:
    // Registers the class (once) and creates the window; the handler sees WM_CREATE already.
    bool CreateForm(HINSTANCE instance, const char* className, const char* caption, DWORD style,
                    DWORD exStyle, int x, int y, int width, int height, HWND owner,
                    HBRUSH background, HICON icon);
    // Return true with `result` set to answer the message; false runs the default handling.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

    HWND window_ = nullptr;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// A child control whose keyboard and mouse messages go first to `handler`; returning true
// consumes the message.
using ControlHook = bool (*)(void* context, HWND control, UINT message, WPARAM wParam,
                             LPARAM lParam);
HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                   int width, int height, int id);
void HookControl(HWND control, ControlHook hook, void* context);

}  // namespace vantor
