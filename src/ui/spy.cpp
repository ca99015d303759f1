#include "ui/spy.h"

#include "watcher/window_readings.h"

namespace vantor {

std::string ListingText(const ChildListing& listing) {
    std::string out;
    for (const ChildRecord& child : listing.children) {
        out += child.cls;
        out += '=';
        out += child.text;
        out += "\r\n";
    }
    return out;
}

std::string SpyText(WindowSystem& ws, WindowHandle window) {
    std::string out = WindowClassName(ws, window);
    out += '=';
    out += EscapeLineBreaks(ControlText(ws, window));
    out += "\r\n";
    out += ListingText(ListChildren(ws, window, window));
    if (const WindowHandle owner = ws.Parent(window); owner != 0) {
        out += "\r\nOWNER:";
        out += WindowClassName(ws, owner);
        out += '=';
        out += ControlText(ws, owner);
    }
    return out;
}

SpyStep Spy::Tick(bool formVisible) {
    SpyStep step;
    if (!formVisible) {
        step.action = SpyStep::kStop;
        return step;
    }
    std::int32_t x = 0, y = 0;
    if (!ws_.CursorPos(x, y)) return step;
    const WindowHandle under = ws_.WindowFromPoint(x, y);
    // The last spied window first: a resting pointer costs nothing more.
    if (under == lastSpied_ || under == 0) return step;
    // The form itself, or its text area and buttons, which are its children.
    const WindowHandle form = form_.load();
    if (form != 0 && (under == form || ws_.Parent(under) == form)) return step;
    lastSpied_ = under;
    step.action = SpyStep::kShow;
    step.text = SpyText(ws_, under);
    return step;
}

}  // namespace vantor
