#include "ui/placement.h"

#include <algorithm>

namespace vantor {

ScreenPoint CornerPlacement(const ScreenRect& workArea, int width, int height) {
    return {workArea.right - width, workArea.bottom - height};
}

ScreenPoint CenteredPlacement(const ScreenRect& target, int width, int height,
                              const ScreenRect& workArea) {
    ScreenPoint p{target.left + (target.right - target.left) / 2 - width / 2,
                  target.top + (target.bottom - target.top) / 2 - height / 2};
    // Right/bottom first, so a window larger than the work area keeps its top-left visible.
    p.x = std::max(std::min(p.x, workArea.right - width), workArea.left);
    p.y = std::max(std::min(p.y, workArea.bottom - height), workArea.top);
    return p;
}

ScreenPoint ClampToScreen(ScreenPoint position, int width, int height, int screenWidth,
                          int screenHeight) {
    if (position.x < 0) position.x = 0;
    if (position.y < 0) position.y = 0;
    if (position.x + width > screenWidth) position.x = screenWidth - width;
    if (position.y + height > screenHeight) position.y = screenHeight - height;
    return position;
}

ScreenPoint ClampPointToRect(ScreenPoint point, const ScreenRect& rect) {
    point.x = std::max(rect.left, std::min(point.x, rect.right));
    point.y = std::max(rect.top, std::min(point.y, rect.bottom));
    return point;
}

bool NeedsVerticalScrollBar(int rectHeight, int lineHeight, int lineCount) {
    if (lineHeight <= 0) return lineCount > 0;
    return rectHeight / lineHeight < lineCount;
}

OpacityChange PlanOpacity(int lastApplied, int value) {
    OpacityChange change;
    if (lastApplied == value) return change;
    change.apply = true;
    change.alpha = static_cast<std::uint8_t>(value & 0xFF);
    change.layered = change.alpha != 255;
    return change;
}

}  // namespace vantor
