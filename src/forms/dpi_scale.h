// Display scaling arithmetic. Every size of the program's windows is designed at 96 DPI (100 %)
// and scaled to the DPI of the monitor a window is on. Rectangles scale by their edges, so
// controls that touch at 96 DPI still touch (and never overlap) at any scale. Portable.
#pragma once

namespace vantor {

inline constexpr int kDesignDpi = 96;

// A DPI the program can work with: 0 or anything absurd (a broken answer) is 96.
int UsableDpi(int dpi);
// A length of 96-DPI units in pixels at `dpi`, rounded half away from zero (as MulDiv does).
int ScaleToDpi(int value, int dpi);
// Pixels at `dpi` back to 96-DPI units: what the program stores, so that a stored size
// keeps its meaning on a monitor of another scale. ScaleFromDpi(ScaleToDpi(v, d), d) == v
// for every d >= 96.
int ScaleFromDpi(int pixels, int dpi);

struct DesignRect {
    int x = 0, y = 0, width = 0, height = 0;
};
// Left and top edges scale, and so do the right and bottom ones; the size is their distance.
DesignRect ScaleRect(const DesignRect& rect, int dpi);

// The LOGFONT height of a font that is `heightAt96` at 96 DPI: the same size in points.
int FontHeightForDpi(int heightAt96, int dpi);

}  // namespace vantor
