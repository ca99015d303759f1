// Measures the way from a list file's write to the reload notice on screen: each round hides
// the running Vantor's message window, saves Black.ini in Vantor's folder the way an editor
// does, and takes the time from the save until the window is visible with the text
// "Reloaded black list.".
//   notice_latency FOLDER COUNT
// Prints one "latency_ms N" line per round, then "median_ms", "p95_ms", "max_ms" and
// "timeouts" (rounds with no notice within 5 s). Exit code 0, 1 after a timeout, 2 when no
// running Vantor was found, 100 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "latency_report.h"

namespace {

constexpr char kNotice[] = "Reloaded black list.";

double Millis(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

std::string TextOf(HWND window) {
    char text[256] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 1000, &ignored);
    return text;
}

bool Save(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return CloseHandle(file) && ok;
}

// Hidden, and still hidden a moment later (a window whose redrawing is suspended reads as
// hidden for that moment).
bool HiddenFor(HWND window, int ms) {
    for (int i = 0; i < ms; i += 10) {
        if (IsWindowVisible(window)) return false;
        Sleep(10);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::printf("usage: notice_latency FOLDER COUNT\n");
        return 100;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    const int count = std::atoi(argv[2]);
    HWND window = FindWindowA("VantorMessageWindow", nullptr);
    if (!window) {
        std::printf("no running Vantor\n");
        return 2;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> latencies;
    int timeouts = 0;
    for (int i = 0; i < count; ++i) {
        PostMessageA(window, WM_CLOSE, 0, 0);  // hides it
        for (int wait = 0; wait < 50 && !HiddenFor(window, 100); ++wait) {
        }
        HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr);
        LARGE_INTEGER saved, shown;
        QueryPerformanceCounter(&saved);
        if (!Save(folder + "Black.ini", "round " + std::to_string(i) + "\r\n")) {
            std::printf("cannot write %sBlack.ini\n", folder.c_str());
            return 1;
        }
        bool seen = false;
        for (int spin = 0; spin < 5000 && !seen; ++spin) {
            if (IsWindowVisible(window)) {
                if (!edit) edit = FindWindowExA(window, nullptr, "Edit", nullptr);
                seen = edit && TextOf(edit) == kNotice;
            }
            if (!seen) Sleep(1);
        }
        QueryPerformanceCounter(&shown);
        if (!seen) {
            ++timeouts;
            continue;
        }
        latencies.push_back(Millis(saved, shown, frequency));
        std::printf("latency_ms %.1f\n", latencies.back());
        Sleep(200);
    }
    PrintLatencyReport(latencies, timeouts);
    return timeouts == 0 ? 0 : 1;
}
