#include "watcher/window_events_win32.h"

#include <windows.h>

#include <atomic>

#include "forms/fault_note.h"

namespace vantor {
namespace {

std::atomic<ForegroundCache*> g_cache{nullptr};
std::atomic<TopLevelListener*> g_listener{nullptr};

bool AnnouncesTopLevel(DWORD event) {
    return event == EVENT_OBJECT_CREATE || event == EVENT_OBJECT_SHOW ||
           event == EVENT_SYSTEM_FOREGROUND || event == EVENT_SYSTEM_DIALOGSTART;
}

void CALLBACK OnWindowEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                            DWORD, DWORD) {
    const DWORD now = GetTickCount();
    if (ForegroundCache* cache = g_cache.load()) cache->MarkChanged(now);
    TopLevelListener* listener = g_listener.load();
    if (!listener || !window || object != OBJID_WINDOW || child != CHILDID_SELF) return;
    if (!AnnouncesTopLevel(event)) return;
    // Child controls and message-only windows are no dialogs; our own windows are not ours
    // to close.
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow()) return;
    DWORD process = 0;
    if (!GetWindowThreadProcessId(window, &process) || process == GetCurrentProcessId()) return;
    RunGuarded("a window event",
               [&] { listener->OnTopLevelWindow(reinterpret_cast<WindowHandle>(window), now); });
}

}  // namespace

bool WindowEvents::Start(ForegroundCache& cache) {
    if (Started()) return true;
    g_cache.store(&cache);
    // The ranges are kept narrow: the location changes beyond focus and the menu and capture
    // events between foreground and dialog start come by the hundred and mean nothing here.
    const DWORD ranges[3][2] = {{EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND},
                                {EVENT_SYSTEM_DIALOGSTART, EVENT_SYSTEM_DIALOGSTART},
                                {EVENT_OBJECT_CREATE, EVENT_OBJECT_FOCUS}};
    bool all = true;
    for (int i = 0; i < 3; ++i) {
        hooks_[i] = SetWinEventHook(ranges[i][0], ranges[i][1], nullptr, OnWindowEvent, 0, 0,
                                    WINEVENT_OUTOFCONTEXT);
        all = all && hooks_[i] != nullptr;
    }
    if (!all) Stop();
    return all;
}

void WindowEvents::Stop() {
    for (void*& hook : hooks_) {
        if (hook) UnhookWinEvent(static_cast<HWINEVENTHOOK>(hook));
        hook = nullptr;
    }
    g_cache.store(nullptr);
}

void WindowEvents::SetListener(TopLevelListener* listener) {
    g_listener.store(listener);
}

}  // namespace vantor
