// The message loop: every message is offered first to the form it is for (the form of its
// window's top-level ancestor), which may take it for its accelerators and its keyboard
// navigation; the rest is translated and dispatched as usual. Runs until WM_QUIT.
#pragma once

#include <windows.h>

namespace vantor {

int RunMessageLoop();
// One message as the loop handles it (for code that pumps messages itself).
void HandleLoopMessage(MSG& msg);

}  // namespace vantor
