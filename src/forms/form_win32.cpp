#include "forms/form_win32.h"

#include "forms/fault_note.h"

namespace vantor {

bool Form::CreateForm(HINSTANCE instance, const char* className, const char* caption, DWORD style,
                      DWORD exStyle, int x, int y, int width, int height, HWND owner,
                      HBRUSH background, HICON icon) {
    WNDCLASSEXA wc = {};
    if (!GetClassInfoExA(instance, className, &wc)) {
        wc = {};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Form::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.lpszClassName = className;
        RegisterClassExA(&wc);
    }
    window_ = CreateWindowExA(exStyle, className, caption, style, x, y, width, height, owner,
                              nullptr, instance, this);
    return window_ != nullptr;
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Form* form = nullptr;
    if (message == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    } else {
        form = reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    LRESULT result = 0;
    bool handled = false;
    // An error while handling one message must not end the program (nor unwind through the
    // system's code): the message counts as not handled.
    if (form) {
        RunGuarded("a window procedure",
                   [&] { handled = form->HandleMessage(message, wParam, lParam, result); });
    }
    if (!handled) result = DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY && form) {
        // The window is gone: nothing may reach the object through it any more.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        form->window_ = nullptr;
    }
    return result;
}

Form* Form::FromWindow(HWND window) {
    if (!window ||
        GetWindowLongPtrA(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Form::WindowProc)) {
        return nullptr;
    }
    return reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                   int width, int height, int id) {
    return CreateWindowExA(0, className, text, WS_CHILD | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                           nullptr);
}

namespace {

// The control's own window procedure and our hook, kept in a window property. Plain
// GWLP_WNDPROC subclassing: it keeps comctl32 (and its memory) out of the process.
struct HookData {
    WNDPROC original;
    ControlHook hook;
    void* context;
};

constexpr char kHookProperty[] = "VantorControlHook";

LRESULT CALLBACK HookProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = static_cast<HookData*>(GetPropA(control, kHookProperty));
    if (!data) return DefWindowProcA(control, message, wParam, lParam);
    const WNDPROC original = data->original;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropA(control, kHookProperty);
        delete data;
    } else {
        bool consumed = false;
        RunGuarded("a control's window procedure",
                   [&] { consumed = data->hook(data->context, control, message, wParam, lParam); });
        if (consumed) return 0;
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}

}  // namespace

void HookControl(HWND control, ControlHook hook, void* context) {
    auto* data = new HookData{nullptr, hook, context};
    SetPropA(control, kHookProperty, data);
    data->original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc)));
}

}  // namespace vantor
