// The window spy: while it runs, the message window shows the class and text of the window
// under the mouse pointer, its child controls and its owner, in the form the advanced list's
// rules use. The tick decides on the timer thread; the caller puts the text on screen.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "watcher/window_readings.h"
#include "watcher/window_system.h"

namespace vantor {

// The text area's text from the Spy command until the pointer reaches a window.
inline constexpr std::string_view kSpyStartText = "Information about windows.";

// The text form of a child listing, the one the rules are written in: class "=" text CR LF
// per child.
std::string ListingText(const ChildListing& listing);

// What the spy shows for a window, lines joined with CR LF:
//   class "=" text with CR as "#13" and LF as "#10", CR LF;
//   the window's child listing (without handles), each line ending in CR LF;
//   when it has a parent or owner: CR LF, "OWNER:" class "=" text, the text unescaped.
// Reads go through the window system's bounded sends: a hung window gives empty texts.
std::string SpyText(WindowSystem& ws, WindowHandle window);

// What one spy tick asks of the caller.
struct SpyStep {
    enum Action {
        kStop,     // the message window is hidden: stop the spy timer
        kNothing,  // same window as shown, or our own: the text stays
        kShow,     // put `text` in the text area, show and activate the message window,
                   // fit the scroll bar and let the countdown's raise rest (KeepOnTop off)
    };
    Action action = kNothing;
    std::string text;
};

class Spy {
  public:
    explicit Spy(WindowSystem& ws) : ws_(ws) {}

    // The message window, whose own controls (its children) are never spied.
    void SetOwnWindow(WindowHandle form) { form_.store(form); }

    // Every 50 ms on the timer thread while the spy runs. `formVisible`: the message window
    // is visible now. A pointer resting over one window costs the cursor read and one
    // WindowFromPoint.
    SpyStep Tick(bool formVisible);

    // Kept when the spy stops: started again over the same window, it shows nothing new
    // until the pointer reaches another one.
    WindowHandle LastSpiedWindow() const { return lastSpied_; }

  private:
    WindowSystem& ws_;
    std::atomic<WindowHandle> form_{0};
    WindowHandle lastSpied_ = 0;  // timer thread only
};

}  // namespace vantor
