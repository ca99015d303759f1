// The message window's text area: a read-only multi-line EDIT, wrapped so that the window and
// the features built on it (adding to the lists, the spy, links) deal with text, selection
// and mouse events rather than edit messages. Its text is kept while the control does not
// exist yet (it comes with the window's first show) and handed over when it is attached.
// GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/window_input.h"

namespace vantor {

class TextArea {
  public:
    struct Events {
        // Left button down, left button up, right button down, a double click of any button;
        // the point is in the text area's client coordinates. The control still gets them.
        std::function<void(TextMouse event, POINT at)> mouse;
        // WM_CONTEXTMENU: a screen point, or -1, -1 when it came from the keyboard.
        std::function<void(POINT at)> contextMenu;
    };

    TextArea() = default;
    TextArea(const TextArea&) = delete;
    TextArea& operator=(const TextArea&) = delete;

    // Takes over the created control: the kept text goes in, the events are hooked.
    void Attach(HWND edit, Events events);
    HWND Handle() const { return edit_; }

    void SetText(const std::string& text);
    std::string Text() const;
    void Select(int start, int end);
    std::string SelectedText() const;
    // What Copy takes: the selection when there is one, else the whole text.
    std::string SelectionOrWholeText() const;

    // Shows the vertical scroll bar exactly when the text has more lines than fit (measured
    // in `font`); true when it changed.
    bool FitScrollBar(HFONT font);
    // The screen point of the character at the end of the selection, held inside the text
    // area (where a menu called from the keyboard opens).
    POINT SelectionEndPoint() const;
    void Focus();

  private:
    static bool Hook(void* context, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    // The selection in characters, start <= end (both 0 while the control does not exist).
    void Selection(DWORD& start, DWORD& end) const;

    HWND edit_ = nullptr;
    std::string pending_;
    Events events_;
};

}  // namespace vantor
