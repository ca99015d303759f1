#include "watcher/early_look_win32.h"

namespace vantor {

EarlyLook::EarlyLook(Win32WindowSystem& ws, Scanner& scanner) : ws_(ws), scanner_(scanner) {
    ws_.SetTopLevelListener(this);
}

EarlyLook::~EarlyLook() {
    ws_.SetTopLevelListener(nullptr);
    Stop();
}

void EarlyLook::Start() {
    scanner_.NewWindows().Clear();
    on_ = true;
}

void EarlyLook::Stop() {
    on_ = false;
    scanner_.NewWindows().Clear();
}

void EarlyLook::OnTopLevelWindow(WindowHandle window, std::uint32_t now) {
    if (!on_ || !scanner_.NewWindows().Add(window, now)) return;
    // Answered into our queue, whenever that program gets to it; never waited for.
    SendMessageCallbackA(reinterpret_cast<HWND>(window), WM_NULL, 0, 0, &EarlyLook::OnAnswer,
                         reinterpret_cast<ULONG_PTR>(this));
}

void CALLBACK EarlyLook::OnAnswer(HWND window, UINT, ULONG_PTR self, LRESULT) {
    auto* path = reinterpret_cast<EarlyLook*>(self);
    const auto handle = reinterpret_cast<WindowHandle>(window);
    if (!path->on_ || !path->scanner_.NewWindows().Answered(handle, GetTickCount())) return;
    path->ws_.NoteAnswered(handle);
}

void EarlyLook::LookAtAnswered() {
    if (on_) scanner_.LookAtNewWindows();
}

}  // namespace vantor
