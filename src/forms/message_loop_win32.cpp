#include "forms/message_loop_win32.h"

#include "forms/form_win32.h"

namespace vantor {

void HandleLoopMessage(MSG& msg) {
    // These carry a pointer and are only ever sent, never posted; a posted one comes from
    // another program with whatever lParam it chose.
    if (msg.message == WM_HELP || msg.message == WM_WINDOWPOSCHANGED ||
        msg.message == WM_WINDOWPOSCHANGING)
        return;
    if (msg.hwnd) {
        if (Form* form = Form::FromWindow(GetAncestor(msg.hwnd, GA_ROOT))) {
            if (form->PreTranslateMessage(msg)) return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) HandleLoopMessage(msg);
    return static_cast<int>(msg.wParam);
}

}  // namespace vantor
