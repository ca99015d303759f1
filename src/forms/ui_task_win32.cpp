#include "forms/ui_task_win32.h"

namespace vantor {

namespace {
constexpr UINT kRunTask = WM_APP + 0x51;
constexpr char kClassName[] = "VantorUiTasks";
}  // namespace

bool UiTaskQueue::Create(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &UiTaskQueue::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    window_ =
        CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    return window_ != nullptr;
}

bool UiTaskQueue::Post(std::function<void()> task) {
    if (!window_) return false;
    auto* heap = new std::function<void()>(std::move(task));
    if (PostMessageA(window_, kRunTask, 0, reinterpret_cast<LPARAM>(heap))) return true;
    delete heap;
    return false;
}

LRESULT CALLBACK UiTaskQueue::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunTask) {
        auto* task = reinterpret_cast<std::function<void()>*>(lParam);
        (*task)();
        delete task;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace vantor
