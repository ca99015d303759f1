// The message loop: runs until WM_QUIT; the accelerators act while the focus is inside
// `accelWindow` (or it is active).
#pragma once

#include <windows.h>

namespace vantor {

int RunMessageLoop(HWND accelWindow, HACCEL accelerators);

}  // namespace vantor
