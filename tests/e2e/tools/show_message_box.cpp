// Another program that shows a message box, for the tests to find, read and answer.
//   show_message_box CAPTION TEXT [FLAGS [REPORT_FILE | X Y WIDTH HEIGHT]]
// CAPTION and TEXT may hold the escapes \r \n \t \\ and \xNN (any byte, e.g. code page 1251
// letters given from a Linux shell). FLAGS is MessageBoxA's uType, decimal or 0x-hex
// (default MB_OK | MB_ICONINFORMATION). With X Y WIDTH HEIGHT the box is given exactly that
// screen rectangle as it is first activated. With REPORT_FILE, writes "waited_ms N" there: the
// time from the box becoming active (a thread-local WH_CBT hook's HCBT_ACTIVATE) to
// MessageBoxA returning; -1 if it never was. Prints "result N" and exits with MessageBoxA's
// result (IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7); exit code 100 means bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "wait_report.h"

namespace {

HHOOK g_hook = nullptr;
LARGE_INTEGER g_activated = {};
bool g_placing = false;
RECT g_place = {};  // left, top, width, height

// The box's first activation: when it happened, and (the box centres itself while it is set
// up) its place, given once that is done.
LRESULT CALLBACK OnActivation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_activated.QuadPart == 0) {
        char cls[32] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), cls, sizeof(cls));
        if (std::string(cls) == "#32770") {
            QueryPerformanceCounter(&g_activated);
            if (g_placing) {
                SetWindowPos(reinterpret_cast<HWND>(wParam), nullptr, g_place.left, g_place.top,
                             g_place.right, g_place.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescape(const std::string& text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        char next = text[++i];
        if (next == 'r') {
            result += '\r';
        } else if (next == 'n') {
            result += '\n';
        } else if (next == 't') {
            result += '\t';
        } else if (next == 'x' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
                   HexDigit(text[i + 2]) >= 0) {
            result += char(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            result += next;  // "\\" and anything unknown: the character itself
        }
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    if ((argc < 3 || argc > 5) && argc != 8) {
        std::fprintf(stderr,
                     "usage: show_message_box CAPTION TEXT [FLAGS [REPORT_FILE | X Y W H]]\n");
        return 100;
    }
    UINT flags = MB_OK | MB_ICONINFORMATION;
    if (argc >= 4) {
        char* end = nullptr;
        flags = UINT(std::strtoul(argv[3], &end, 0));
        if (end == argv[3] || *end != '\0') {
            std::fprintf(stderr, "show_message_box: bad flags '%s'\n", argv[3]);
            return 100;
        }
    }
    if (argc == 8) {
        g_place = {std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7])};
        g_placing = true;
    }
    const std::string caption = Unescape(argv[1]);
    const std::string text = Unescape(argv[2]);
    if (argc >= 5) g_hook = SetWindowsHookExA(WH_CBT, OnActivation, nullptr, GetCurrentThreadId());
    int result = MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
    if (argc == 5) WriteWaitReport(argv[4], g_activated);
    if (g_hook) UnhookWindowsHookEx(g_hook);
    std::printf("result %d\n", result);
    std::fflush(stdout);
    return result;
}
