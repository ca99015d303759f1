// The running program: start-up in order, the message loop, Exit and the shutdown.
#pragma once

#include <windows.h>

namespace vantor {

// Class name of the hidden application window, which receives the tray icon's callback
// (message 0xB008, the mouse message in lParam; see ui/menus.h).
inline constexpr char kApplicationWindowClass[] = "VantorApplication";

// Runs Vantor until Exit; returns the process exit code.
int RunApplication(HINSTANCE instance);

}  // namespace vantor
