#include "forms/message_loop_win32.h"

namespace vantor {

int RunMessageLoop(HWND accelWindow, HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (accelerators && accelWindow &&
            (msg.hwnd == accelWindow || IsChild(accelWindow, msg.hwnd)) &&
            TranslateAcceleratorA(accelWindow, accelerators, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace vantor
