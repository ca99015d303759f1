#include "forms/ui_task_win32.h"

#include "forms/fault_note.h"

namespace vantor {

namespace {
constexpr UINT kRunTasks = WM_APP + 0x51;
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
    if (!window_) return false;
    // The queue is found through the window's own data, never through a message.
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

bool UiTaskQueue::Post(std::function<void()> task) {
    if (!window_) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (waiting_.size() >= kMaxWaiting) return false;
    waiting_.push_back(std::move(task));
    if (wakePosted_) return true;
    if (!PostMessageA(window_, kRunTasks, 0, 0)) {
        waiting_.pop_back();
        return false;
    }
    wakePosted_ = true;
    return true;
}

void UiTaskQueue::RunWaiting() {
    std::deque<std::function<void()>> tasks;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks.swap(waiting_);
        wakePosted_ = false;
    }
    // Tasks posted while these run wake the window again.
    for (auto& task : tasks) RunGuarded("a task of the program's window", task);
}

LRESULT CALLBACK UiTaskQueue::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunTasks) {
        // wParam and lParam are ignored: whoever sent it, it only runs what we queued.
        if (auto* queue = reinterpret_cast<UiTaskQueue*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            queue->RunWaiting();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace vantor
