// One of the soak's busy programs: shows message boxes at a steady pace, each on a thread of
// its own whether or not the ones before it have closed, some in the foreground and some
// behind the program's own front window (which keeps the foreground: a CBT hook on the box's
// thread refuses to activate it), and reports how each one ended.
//   soak_boxes NAME COUNT PERIOD_MS BACKGROUND_EVERY
// Box i (from 0) has the caption "soak NAME i" and opens PERIOD_MS * i after the start; every
// BACKGROUND_EVERY-th box (0: none) opens in the background; every tenth one's text holds
// "soak quiet". A box nobody answers within 20 s is closed here (it then returns IDCANCEL).
// Prints "box NAME i RESULT MS" per box as it ends (MS: from the box's window being created
// to MessageBoxA returning), then "done NAME closed N missed M"; exits 0 when every box
// returned IDOK.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kAnswerTimeoutMs = 20000;

struct Box {
    std::string caption;
    std::string text;
    bool background = false;
    HWND front = nullptr;
    std::atomic<HWND> window{nullptr};
    std::atomic<DWORD> created{0};
    std::atomic<bool> ended{false};
    std::atomic<bool> cancelled{false};
    DWORD result = 0;
    DWORD endedAt = 0;
};

thread_local Box* t_box = nullptr;
thread_local HHOOK t_hook = nullptr;

bool IsDialog(HWND window) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof(cls));
    return std::strcmp(cls, "#32770") == 0;
}

LRESULT CALLBACK WatchBox(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && t_box->window.load() == nullptr && IsDialog(window)) {
        t_box->created = GetTickCount();
        t_box->window = window;
    }
    if (code == HCBT_ACTIVATE && t_box->background && IsDialog(window)) return 1;
    return CallNextHookEx(t_hook, code, wParam, lParam);
}

DWORD WINAPI BoxThread(void* param) {
    Box* box = static_cast<Box*>(param);
    t_box = box;
    t_hook = SetWindowsHookExA(WH_CBT, WatchBox, nullptr, GetCurrentThreadId());
    if (box->background) SetForegroundWindow(box->front);
    box->result = static_cast<DWORD>(
        MessageBoxA(nullptr, box->text.c_str(), box->caption.c_str(), MB_OK | MB_ICONINFORMATION));
    box->endedAt = GetTickCount();
    UnhookWindowsHookEx(t_hook);
    box->ended = true;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::printf("usage: soak_boxes NAME COUNT PERIOD_MS BACKGROUND_EVERY\n");
        return 100;
    }
    const std::string name = argv[1];
    const int count = std::atoi(argv[2]);
    const DWORD period = static_cast<DWORD>(std::atoi(argv[3]));
    const int backgroundEvery = std::atoi(argv[4]);
    HWND front = CreateWindowExA(0, "STATIC", ("soak front " + name).c_str(),
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 200, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    std::vector<std::unique_ptr<Box>> boxes;
    std::vector<HANDLE> threads;
    std::vector<bool> reported;
    int closed = 0, missed = 0, done = 0;
    const DWORD start = GetTickCount();
    while (done < count) {
        // The front window lives on this thread: keep it answering.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        const int i = static_cast<int>(boxes.size());
        if (i < count && GetTickCount() - start >= period * static_cast<DWORD>(i)) {
            auto box = std::make_unique<Box>();
            box->caption = "soak " + name + " " + std::to_string(i);
            box->text = "Soak message from " + name + ", number " + std::to_string(i) + "." +
                        (i % 10 == 0 ? " soak quiet" : "");
            box->background = backgroundEvery > 0 && i % backgroundEvery == 0;
            box->front = front;
            threads.push_back(CreateThread(nullptr, 0, BoxThread, box.get(), 0, nullptr));
            boxes.push_back(std::move(box));
            reported.push_back(false);
        }
        for (std::size_t k = 0; k < boxes.size(); ++k) {
            Box& box = *boxes[k];
            if (reported[k]) continue;
            if (!box.ended) {
                const DWORD created = box.created;
                if (created != 0 && !box.cancelled && GetTickCount() - created > kAnswerTimeoutMs) {
                    PostMessageA(box.window, WM_COMMAND, IDCANCEL, 0);
                    box.cancelled = true;
                }
                continue;
            }
            WaitForSingleObject(threads[k], INFINITE);
            CloseHandle(threads[k]);
            reported[k] = true;
            ++done;
            (box.result == IDOK ? closed : missed) += 1;
            std::printf("box %s %zu %lu %lu\n", name.c_str(), k,
                        static_cast<unsigned long>(box.result),
                        static_cast<unsigned long>(box.endedAt - box.created));
            std::fflush(stdout);
        }
        Sleep(10);
    }
    DestroyWindow(front);
    std::printf("done %s closed %d missed %d\n", name.c_str(), closed, missed);
    return missed == 0 ? 0 : 1;
}
