#include "forms/dpi_win32.h"

namespace vantor {

namespace {

template <typename Fn>
Fn User32Function(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForSystemFn = UINT(WINAPI*)();
using MetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (monitor && GetMonitorInfoA(monitor, &info)) return info.rcWork;
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

}  // namespace

int SystemDpi() {
    static const DpiForSystemFn fn = User32Function<DpiForSystemFn>("GetDpiForSystem");
    if (fn) return UsableDpi(static_cast<int>(fn()));
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return UsableDpi(dpi);
}

int WindowDpi(HWND window) {
    static const DpiForWindowFn fn = User32Function<DpiForWindowFn>("GetDpiForWindow");
    if (fn && window) {
        if (const UINT dpi = fn(window)) return UsableDpi(static_cast<int>(dpi));
    }
    return SystemDpi();
}

int MetricForDpi(int index, int dpi) {
    static const MetricsForDpiFn fn = User32Function<MetricsForDpiFn>("GetSystemMetricsForDpi");
    if (fn) return fn(index, static_cast<UINT>(UsableDpi(dpi)));
    // Before Windows 10 the process sees one DPI, the system's, and the metrics are for it.
    return GetSystemMetrics(index);
}

void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi) {
    static const AdjustForDpiFn fn = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    if (!fn || !fn(&rect, style, FALSE, exStyle, static_cast<UINT>(UsableDpi(dpi)))) {
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    }
}

SIZE OuterSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    RECT r = {0, 0, ScaleToDpi(width, dpi), ScaleToDpi(height, dpi)};
    AdjustFrameForDpi(r, style, exStyle, dpi);
    return {r.right - r.left, r.bottom - r.top};
}

RECT WorkAreaOfWindow(HWND window) {
    return WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

RECT WorkAreaOfRect(const RECT& rect) {
    return WorkAreaOf(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
}

RECT TrayWorkArea() {
    // The taskbar's window carries the notification area and with it our icon.
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    return WorkAreaOf(MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY));
}

}  // namespace vantor
