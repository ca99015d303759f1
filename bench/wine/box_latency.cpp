// Shows message boxes one after another and measures, for each, the time from the box
// becoming active (a thread-local WH_CBT hook's HCBT_ACTIVATE on the box's thread) to
// MessageBoxA returning, i.e. to someone pressing OK. The boxes are spaced by 150 ms plus a
// varying part (i x 37 mod 50 ms), so they land at every phase of a 50 ms poll.
//   box_latency foreground COUNT
//   box_latency background COUNT     each box opens behind a front window of ours, which keeps
//                                    the foreground (the hook refuses the box's activation;
//                                    the refused activation is the moment timed from)
//   box_latency self COUNT           the box's own floor: the box's thread posts IDOK to it
//                                    from the hook at activation (no closer needed)
//   box_latency self-click COUNT     a BM_CLICK closer's floor: another thread of this program
//                                    sends BM_CLICK to OK the moment the box activates
//   box_latency hung COUNT HUNG_TOOL first starts two programs whose dialogs look like OK
//                                    messages but never answer ("HUNG_TOOL hung CAPTION TEXT",
//                                    tests/e2e/tools/app_dialog.cpp), then COUNT foreground
//                                    boxes; ends those two programs at the end
//   box_latency burst COUNT          COUNT boxes released at one moment, each on a thread of
//                                    its own; each is timed from that moment to its return
//   box_latency burst-self COUNT     the same, each box pressing its own OK at activation
//                                    (its thread posts IDOK from the hook): the burst's floor.
//                                    Wine 8 now and then corrupts its heap in a burst (more
//                                    often in this one) and the program crashes: run again
// Prints one "latency_ms N" line per box, then "median_ms", "p95_ms", "max_ms", "timeouts"
// (boxes nobody answered within 10 s; closed here and not counted) and "unactivated" (boxes
// that never became active; not counted). Single boxes also print where the time went, as
// medians from activation: "ping_ms" (the first WM_NULL a closer sent reached the box's
// thread) and "click_ms" (the first BM_CLICK reached it), and "reaction_ms", the median per
// box from that WM_NULL to that BM_CLICK: the closer's own share, answer to click.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

LARGE_INTEGER g_frequency;
bool g_background = false;
HHOOK g_hook = nullptr;
LARGE_INTEGER g_activated;  // written by the hook on the box's thread
bool g_wasActivated = false;
HANDLE g_selfPress = nullptr;  // "self-click": set by the hook when the box activates
bool g_selfPost = false;       // "self": the hook posts IDOK itself
HWND g_activeBox = nullptr;
// Seen by a WH_CALLWNDPROC hook on the box's thread: when a closer's first WM_NULL and first
// BM_CLICK reached it (0: not yet).
HHOOK g_sentHook = nullptr;
LARGE_INTEGER g_ping{}, g_click{};

LRESULT CALLBACK OnSentToBox(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_NULL && g_ping.QuadPart == 0)
        QueryPerformanceCounter(&g_ping);
    if (code == HC_ACTION && sent->message == BM_CLICK && g_click.QuadPart == 0)
        QueryPerformanceCounter(&g_click);
    return CallNextHookEx(g_sentHook, code, wParam, lParam);
}

LRESULT CALLBACK OnBoxActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char cls[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof(cls));
        if (std::strcmp(cls, "#32770") == 0) {
            if (!g_wasActivated) {
                QueryPerformanceCounter(&g_activated);
                g_activeBox = reinterpret_cast<HWND>(wParam);
                if (g_selfPress) SetEvent(g_selfPress);
                if (g_selfPost) PostMessageA(g_activeBox, WM_COMMAND, IDOK, 0);
            }
            g_wasActivated = true;
            if (g_background) return 1;  // refused: the box stays behind
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

struct Box {
    std::string caption;
    LARGE_INTEGER returned{};
};

DWORD WINAPI BoxThread(void* param) {
    Box* box = static_cast<Box*>(param);
    HWND front = nullptr;
    if (g_background) {
        front = CreateWindowExA(0, "STATIC", "latency front window",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
        SetForegroundWindow(front);
    }
    g_wasActivated = false;
    g_ping.QuadPart = g_click.QuadPart = 0;
    g_hook = SetWindowsHookExA(WH_CBT, OnBoxActivation, nullptr, GetCurrentThreadId());
    g_sentHook = SetWindowsHookExA(WH_CALLWNDPROC, OnSentToBox, nullptr, GetCurrentThreadId());
    const int result = MessageBoxA(nullptr, "Latency probe", box->caption.c_str(), MB_OK);
    QueryPerformanceCounter(&box->returned);
    UnhookWindowsHookEx(g_sentHook);
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    if (front) DestroyWindow(front);
    return static_cast<DWORD>(result);
}

double Millis(LARGE_INTEGER from, LARGE_INTEGER to) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(g_frequency.QuadPart);
}

// "self-click": sends BM_CLICK to OK the moment each box activates, from another thread of
// the box's own program: what no closer from outside that clicks can beat.
DWORD WINAPI PressAtActivation(void*) {
    for (;;) {
        WaitForSingleObject(g_selfPress, INFINITE);
        HWND ok = nullptr;
        for (int spin = 0; spin < 1000 && !ok; ++spin) {
            ok = FindWindowExA(g_activeBox, nullptr, "Button", nullptr);
            if (!ok) Sleep(0);
        }
        SendMessageA(ok, BM_CLICK, 0, 0);
    }
}

// The burst: every box thread waits for one release, then shows its box.
HANDLE g_release = nullptr;
LARGE_INTEGER g_releasedAt;
bool g_burstSelf = false;

LRESULT CALLBACK OnBurstActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_burstSelf) {
        char cls[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof(cls));
        if (std::strcmp(cls, "#32770") == 0)
            PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI BurstBoxThread(void* param) {
    Box* box = static_cast<Box*>(param);
    const HHOOK hook = SetWindowsHookExA(WH_CBT, OnBurstActivation, nullptr, GetCurrentThreadId());
    WaitForSingleObject(g_release, INFINITE);
    const int result = MessageBoxA(nullptr, "Burst probe", box->caption.c_str(), MB_OK);
    QueryPerformanceCounter(&box->returned);
    UnhookWindowsHookEx(hook);
    return static_cast<DWORD>(result);
}

// COUNT boxes at once; each one's time from the release to its return, in ms.
std::vector<double> Burst(int count, int& timeouts) {
    g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<Box> boxes(static_cast<size_t>(count));
    std::vector<HANDLE> threads;
    for (int i = 0; i < count; ++i) {
        boxes[static_cast<size_t>(i)].caption = "burst probe " + std::to_string(i);
        threads.push_back(CreateThread(nullptr, 0, BurstBoxThread, &boxes[static_cast<size_t>(i)], 0, nullptr));
    }
    Sleep(300);  // every thread waits for the release
    QueryPerformanceCounter(&g_releasedAt);
    SetEvent(g_release);
    std::vector<double> latencies;
    const DWORD deadline = GetTickCount() + 10000;  // for the whole burst
    for (int i = 0; i < count; ++i) {
        const Box& box = boxes[static_cast<size_t>(i)];
        const DWORD left = std::max<LONG>(0, static_cast<LONG>(deadline - GetTickCount()));
        if (WaitForSingleObject(threads[static_cast<size_t>(i)], left) == WAIT_TIMEOUT) {
            ++timeouts;
            if (HWND w = FindWindowA("#32770", box.caption.c_str()))
                PostMessageA(w, WM_COMMAND, IDOK, 0);
            WaitForSingleObject(threads[static_cast<size_t>(i)], 5000);
        } else {
            latencies.push_back(Millis(g_releasedAt, box.returned));
            std::printf("latency_ms %.1f\n", latencies.back());
        }
        CloseHandle(threads[static_cast<size_t>(i)]);
    }
    return latencies;
}

double Median(std::vector<double> v) {
    if (v.empty()) return -1.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Two programs whose dialogs never answer; their processes are ended at the end.
std::vector<PROCESS_INFORMATION> StartHungPrograms(const char* tool) {
    std::vector<PROCESS_INFORMATION> started;
    for (int i = 0; i < 2; ++i) {
        const std::string caption = "hung program " + std::to_string(i);
        std::string line = std::string("\"") + tool + "\" hung \"" + caption +
                           "\" \"This program stopped answering.\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi)) {
            std::printf("cannot start %s\n", tool);
            continue;
        }
        started.push_back(pi);
        for (int spin = 0; spin < 5000 && !FindWindowA("#32770", caption.c_str()); ++spin) Sleep(1);
    }
    Sleep(300);  // both asleep by now
    return started;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc >= 3 ? argv[1] : "";
    const bool hung = mode == "hung" && argc == 4;
    const bool burst = mode == "burst" || mode == "burst-self";
    const bool self = mode == "self" || mode == "self-click";
    if (!hung && !((burst || self || mode == "foreground" || mode == "background") && argc == 3)) {
        std::printf("usage: box_latency foreground|background|self|self-click|burst|burst-self COUNT | "
                    "hung COUNT HUNG_TOOL\n");
        return 100;
    }
    g_burstSelf = mode == "burst-self";
    g_background = mode == "background";
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // what was measured survives a crash
    g_selfPost = mode == "self";
    if (mode == "self-click") {
        g_selfPress = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CreateThread(nullptr, 0, PressAtActivation, nullptr, 0, nullptr);
    }
    const int count = std::atoi(argv[2]);
    QueryPerformanceFrequency(&g_frequency);
    const std::vector<PROCESS_INFORMATION> hungPrograms =
        hung ? StartHungPrograms(argv[3]) : std::vector<PROCESS_INFORMATION>{};

    std::vector<double> latencies, pings, clicks, reactions;
    int timeouts = 0, unactivated = 0;
    if (burst) latencies = Burst(count, timeouts);
    for (int i = 0; i < count && !burst; ++i) {
        Box box;
        box.caption = "latency probe " + std::to_string(i);
        HANDLE thread = CreateThread(nullptr, 0, BoxThread, &box, 0, nullptr);
        if (WaitForSingleObject(thread, 10000) == WAIT_TIMEOUT) {
            ++timeouts;
            if (HWND w = FindWindowA("#32770", box.caption.c_str()))
                PostMessageA(w, WM_COMMAND, IDOK, 0);
            WaitForSingleObject(thread, 5000);
        } else if (!g_wasActivated) {
            ++unactivated;
        } else {
            latencies.push_back(Millis(g_activated, box.returned));
            // Where this box's time went: its closer's WM_NULL and BM_CLICK (-1: none came).
            std::printf("latency_ms %.1f ping_ms %.1f click_ms %.1f\n", latencies.back(),
                        g_ping.QuadPart ? Millis(g_activated, g_ping) : -1.0,
                        g_click.QuadPart ? Millis(g_activated, g_click) : -1.0);
            if (g_ping.QuadPart) pings.push_back(Millis(g_activated, g_ping));
            if (g_click.QuadPart) clicks.push_back(Millis(g_activated, g_click));
            if (g_ping.QuadPart && g_click.QuadPart) reactions.push_back(Millis(g_ping, g_click));
        }
        CloseHandle(thread);
        Sleep(150 + static_cast<DWORD>(i * 37 % 50));
    }
    for (const PROCESS_INFORMATION& pi : hungPrograms) {
        TerminateProcess(pi.hProcess, 0);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    std::sort(latencies.begin(), latencies.end());
    auto at = [&](double q) {
        if (latencies.empty()) return -1.0;
        size_t index = static_cast<size_t>(q * static_cast<double>(latencies.size() - 1) + 0.5);
        return latencies[std::min(index, latencies.size() - 1)];
    };
    std::printf("median_ms %.1f\np95_ms %.1f\nmax_ms %.1f\ntimeouts %d\nunactivated %d\n", at(0.5),
                at(0.95), latencies.empty() ? -1.0 : latencies.back(), timeouts, unactivated);
    if (!burst && !self)
        std::printf("ping_ms %.1f\nclick_ms %.1f\nreaction_ms %.1f\n", Median(pings),
                    Median(clicks), Median(reactions));
    return timeouts == 0 ? 0 : 1;
}
