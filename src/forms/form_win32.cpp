#include "forms/form_win32.h"

#include <commctrl.h>

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
    if (form) {
        LRESULT result = 0;
        if (form->HandleMessage(message, wParam, lParam, result)) return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                   int width, int height, int id) {
    return CreateWindowExA(0, className, text, WS_CHILD | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                           nullptr);
}

namespace {

struct HookData {
    ControlHook hook;
    void* context;
};

LRESULT CALLBACK HookProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
    auto* hook = reinterpret_cast<HookData*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, &HookProc, 1);
        delete hook;
        return DefSubclassProc(control, message, wParam, lParam);
    }
    if (hook->hook(hook->context, control, message, wParam, lParam)) return 0;
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void HookControl(HWND control, ControlHook hook, void* context) {
    SetWindowSubclass(control, &HookProc, 1,
                      reinterpret_cast<DWORD_PTR>(new HookData{hook, context}));
}

}  // namespace vantor
