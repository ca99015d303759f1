// Messages from a test to windows: one bounded send to another program's window, and one
// pump that runs this thread's messages the way the program's own loop does.
#pragma once

#include <windows.h>

#include <functional>

#include "forms/message_loop_win32.h"

namespace vantor::e2e {

// A message to a window of another process, answered within the bound (0 when not).
inline LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                   UINT timeoutMs = 2000) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// Runs this thread's messages through the program's loop handling until done() holds or
// time is up; false when time ran out.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) HandleLoopMessage(msg);
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
inline void Pump(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

}  // namespace vantor::e2e
