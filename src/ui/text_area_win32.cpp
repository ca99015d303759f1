#include "ui/text_area_win32.h"

#include "forms/form_win32.h"
#include "ui/placement.h"

namespace vantor {

void TextArea::Attach(HWND edit, Events events) {
    edit_ = edit;
    events_ = std::move(events);
    SetWindowTextA(edit_, pending_.c_str());
    pending_.clear();
    pending_.shrink_to_fit();
    HookControl(edit_, &TextArea::Hook, this);
}

void TextArea::SetText(const std::string& text) {
    if (edit_) {
        SetWindowTextA(edit_, text.c_str());
    } else {
        pending_ = text;
    }
}

std::string TextArea::Text() const {
    if (!edit_) return pending_;
    const int length = GetWindowTextLengthA(edit_);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = GetWindowTextA(edit_, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

void TextArea::Selection(DWORD& start, DWORD& end) const {
    start = end = 0;
    if (edit_) {
        SendMessageA(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
    }
}

void TextArea::Select(int start, int end) {
    if (edit_) SendMessageA(edit_, EM_SETSEL, static_cast<WPARAM>(start), end);
}

std::string TextArea::SelectedText() const {
    DWORD start, end;
    Selection(start, end);
    const std::string text = Text();
    if (end <= start || start >= text.size()) return {};
    return text.substr(start, end - start);
}

std::string TextArea::SelectionOrWholeText() const {
    std::string selected = SelectedText();
    return selected.empty() ? Text() : selected;
}

bool TextArea::FitScrollBar(HFONT font) {
    if (!edit_) return false;  // nothing shown yet: the first show fits it
    RECT r = {};
    SendMessageA(edit_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    TEXTMETRICA tm = {};
    HDC dc = GetDC(edit_);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(edit_, dc);
    const int lines = static_cast<int>(SendMessageA(edit_, EM_GETLINECOUNT, 0, 0));
    const bool need =
        NeedsVerticalScrollBar(r.bottom - r.top, tm.tmHeight + tm.tmExternalLeading, lines);
    const LONG style = GetWindowLongA(edit_, GWL_STYLE);
    if (need == ((style & WS_VSCROLL) != 0)) return false;
    SetWindowLongA(edit_, GWL_STYLE,
                   need ? (style | WS_VSCROLL) : (style & ~static_cast<LONG>(WS_VSCROLL)));
    ShowScrollBar(edit_, SB_VERT, need);
    SetWindowPos(edit_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

POINT TextArea::SelectionEndPoint() const {
    POINT at = {0, 0};
    if (!edit_) return at;
    DWORD start, end;
    Selection(start, end);
    const LRESULT pos = SendMessageA(edit_, EM_POSFROMCHAR, end, 0);
    ScreenPoint p{0, 0};
    if (pos != -1) p = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    RECT client;
    GetClientRect(edit_, &client);
    p = ClampPointToRect(p, {client.left, client.top, client.right, client.bottom});
    at = {p.x, p.y};
    ClientToScreen(edit_, &at);
    return at;
}

void TextArea::Focus() {
    if (edit_) SetFocus(edit_);
}

bool TextArea::Hook(void* context, HWND, UINT message, WPARAM, LPARAM lParam) {
    auto* self = static_cast<TextArea*>(context);
    const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (message == WM_CONTEXTMENU) {
        if (!self->events_.contextMenu) return false;
        self->events_.contextMenu(at);
        return true;
    }
    TextMouse event;
    switch (message) {
        case WM_LBUTTONDOWN:
            event = TextMouse::kLeftDown;
            break;
        case WM_LBUTTONUP:
            event = TextMouse::kLeftUp;
            break;
        case WM_RBUTTONDOWN:
            event = TextMouse::kRightDown;
            break;
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            event = TextMouse::kDoubleClick;
            break;
        default:
            return false;
    }
    if (self->events_.mouse) self->events_.mouse(event, at);
    return false;
}

}  // namespace vantor
