// Where the message window goes, and the small bits of arithmetic the window needs to fit
// its text and set its opacity.
#pragma once

#include <cstdint>

namespace vantor {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
    int x = 0, y = 0;
};

// The lower right corner of the work area for a window of the given outer size.
ScreenPoint CornerPlacement(const ScreenRect& workArea, int width, int height);

// Centred over `target`, each halving truncated toward zero, then pulled back inside the work
// area so that a dialog near the screen edge does not push the message off-screen.
ScreenPoint CenteredPlacement(const ScreenRect& target, int width, int height,
                              const ScreenRect& workArea);

// A saved top-left corner pulled back onto a screen of the given size (the settings dialog).
ScreenPoint ClampToScreen(ScreenPoint position, int width, int height, int screenWidth,
                          int screenHeight);

// A point held inside a rectangle (right and bottom edges inclusive, as the text menu needs).
ScreenPoint ClampPointToRect(ScreenPoint point, const ScreenRect& rect);

// True when a text of `lineCount` lines does not fit a formatting rectangle `rectHeight`
// pixels high with lines `lineHeight` pixels apart. A degenerate font height counts as "does
// not fit" whenever there is text, rather than dividing by zero.
bool NeedsVerticalScrollBar(int rectHeight, int lineHeight, int lineCount);

// Opacity as the window applies it: only the low 8 bits count; 255 means not layered.
struct OpacityChange {
    bool apply = false;    // false: same value as last time, nothing to do
    bool layered = false;  // add WS_EX_LAYERED and set the alpha, or remove the style
    std::uint8_t alpha = 255;
};
OpacityChange PlanOpacity(int lastApplied, int value);

}  // namespace vantor
