// The display scale as the system reports it. The functions that tell it per window and per
// monitor came with Windows 10; they are looked up at run time, so the program still starts on
// Windows 7 and under Wine, where the system DPI (or 96) answers instead.
#pragma once

#include <windows.h>

#include "forms/dpi_scale.h"

namespace vantor {

// The system's DPI: the scale of the primary monitor when the session began.
int SystemDpi();
// The DPI of the monitor the window is on (the system's before Windows 10).
int WindowDpi(HWND window);
// GetSystemMetrics at that DPI.
int MetricForDpi(int index, int dpi);
// AdjustWindowRectEx for a window at that DPI (frame and caption sizes grow with the scale).
void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD exStyle, int dpi);
// The outer size of a window whose client area is width x height 96-DPI units.
SIZE OuterSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);

// The work area of the monitor a window or rectangle is on (the nearest one), and of the
// monitor that holds the taskbar with the notification area (the primary one without it).
RECT WorkAreaOfWindow(HWND window);
RECT WorkAreaOfRect(const RECT& rect);
RECT TrayWorkArea();

// WM_DPICHANGED, with the older SDK's headers too.
inline constexpr UINT kWmDpiChanged = 0x02E0;

}  // namespace vantor
