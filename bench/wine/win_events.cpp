// Which window events (WinEvents) does the system deliver, out of context, for another
// program's windows? Hooks every event, starts a copy of itself that goes through a few
// scenarios, and prints per scenario each event seen with its count, whether it concerned a
// top-level window or a child, and when it first came (ms after the scenario began).
//   win_events            the measurement
//   win_events child      the other program (started by the measurement)
// A scenario begins when the child creates a hidden window captioned "scenario: NAME".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

LARGE_INTEGER g_frequency;

double NowMs() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(g_frequency.QuadPart);
}

std::string EventName(DWORD event) {
    static const std::map<DWORD, const char*> names = {
        {EVENT_SYSTEM_FOREGROUND, "SYSTEM_FOREGROUND"},
        {EVENT_SYSTEM_DIALOGSTART, "SYSTEM_DIALOGSTART"},
        {EVENT_SYSTEM_DIALOGEND, "SYSTEM_DIALOGEND"},
        {EVENT_SYSTEM_CAPTURESTART, "SYSTEM_CAPTURESTART"},
        {EVENT_SYSTEM_CAPTUREEND, "SYSTEM_CAPTUREEND"},
        {EVENT_SYSTEM_MINIMIZESTART, "SYSTEM_MINIMIZESTART"},
        {EVENT_SYSTEM_MINIMIZEEND, "SYSTEM_MINIMIZEEND"},
        {EVENT_OBJECT_CREATE, "OBJECT_CREATE"},
        {EVENT_OBJECT_DESTROY, "OBJECT_DESTROY"},
        {EVENT_OBJECT_SHOW, "OBJECT_SHOW"},
        {EVENT_OBJECT_HIDE, "OBJECT_HIDE"},
        {EVENT_OBJECT_REORDER, "OBJECT_REORDER"},
        {EVENT_OBJECT_FOCUS, "OBJECT_FOCUS"},
        {EVENT_OBJECT_STATECHANGE, "OBJECT_STATECHANGE"},
        {EVENT_OBJECT_LOCATIONCHANGE, "OBJECT_LOCATIONCHANGE"},
        {EVENT_OBJECT_NAMECHANGE, "OBJECT_NAMECHANGE"},
        {EVENT_OBJECT_VALUECHANGE, "OBJECT_VALUECHANGE"},
    };
    const auto it = names.find(event);
    if (it != names.end()) return it->second;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%lx", event);
    return hex;
}

// ---- the measurement ----

struct Seen {
    int count = 0;
    double first = 0;
};
std::vector<std::pair<std::string, std::map<std::string, Seen>>> g_scenarios;
double g_scenarioStart = 0;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (!window) return;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return;
    char text[128] = {};
    GetWindowTextA(window, text, sizeof text);
    if (event == EVENT_OBJECT_CREATE && std::strncmp(text, "scenario: ", 10) == 0) {
        g_scenarios.push_back({text + 10, {}});
        g_scenarioStart = NowMs();
        return;
    }
    if (g_scenarios.empty()) return;
    const bool top = GetAncestor(window, GA_PARENT) == GetDesktopWindow();
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    const std::string key = EventName(event) + (top ? " top " : " child ") + cls +
                            (object == OBJID_WINDOW ? "" : " object " + std::to_string(object));
    Seen& seen = g_scenarios.back().second[key];
    if (seen.count++ == 0) seen.first = NowMs() - g_scenarioStart;
}

int Measure() {
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, OnEvent, 0, 0,
                                         WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (!hook) {
        std::printf("no window events at all\n");
        return 1;
    }
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string line = std::string("\"") + exe + "\" child";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        return 2;
    }
    while (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 30000, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    Sleep(200);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    UnhookWinEvent(hook);
    for (const auto& [scenario, events] : g_scenarios) {
        std::printf("== %s\n", scenario.c_str());
        if (events.empty()) std::printf("   (no event)\n");
        for (const auto& [key, seen] : events) {
            std::printf("   %-60s x%-3d first after %.1f ms\n", key.c_str(), seen.count, seen.first);
        }
    }
    return 0;
}

// ---- the other program ----

void Scenario(const char* name) {
    const std::string caption = std::string("scenario: ") + name;
    CreateWindowExA(0, "STATIC", caption.c_str(), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                    nullptr, nullptr);
    Sleep(100);
}

HHOOK g_cbt = nullptr;

LRESULT CALLBACK RefuseDialogActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char cls[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof cls);
        if (std::strcmp(cls, "#32770") == 0) return 1;
    }
    return CallNextHookEx(g_cbt, code, wParam, lParam);
}

// Presses OK on the box of this caption 300 ms after it appears.
DWORD WINAPI PressOkLater(void* caption) {
    HWND box = nullptr;
    for (int i = 0; i < 3000 && !box; ++i) {
        box = FindWindowA("#32770", static_cast<const char*>(caption));
        if (!box) Sleep(1);
    }
    Sleep(300);
    SendMessageA(FindWindowExA(box, nullptr, "Button", nullptr), BM_CLICK, 0, 0);
    return 0;
}

void Box(const char* caption, bool behind) {
    HWND front = nullptr;
    if (behind) {
        front = CreateWindowExA(0, "STATIC", "front window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                50, 300, 200, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(front);
        Sleep(200);
        g_cbt = SetWindowsHookExA(WH_CBT, RefuseDialogActivation, nullptr, GetCurrentThreadId());
    }
    HANDLE presser = CreateThread(nullptr, 0, PressOkLater, const_cast<char*>(caption), 0, nullptr);
    MessageBoxA(nullptr, "probe text", caption, MB_OK | MB_ICONINFORMATION);
    WaitForSingleObject(presser, INFINITE);
    CloseHandle(presser);
    if (g_cbt) UnhookWindowsHookEx(g_cbt);
    g_cbt = nullptr;
    if (front) DestroyWindow(front);
    Sleep(300);
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    }
}

int Child() {
    Sleep(300);
    Scenario("message box in the foreground");
    Box("foreground box", false);
    Scenario("message box behind another window");
    Box("background box", true);
    Scenario("window shown later without activation, text changed, hidden, destroyed");
    HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_OVERLAPPEDWINDOW, 400, 400, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    Pump(100);
    ShowWindow(plain, SW_SHOWNOACTIVATE);
    Pump(100);
    SetWindowTextA(plain, "plain, renamed");
    Pump(100);
    ShowWindow(plain, SW_HIDE);
    Pump(100);
    DestroyWindow(plain);
    Pump(100);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QueryPerformanceFrequency(&g_frequency);
    return argc > 1 && std::strcmp(argv[1], "child") == 0 ? Child() : Measure();
}
