#include "ui/message_window_win32.h"

#include <vector>

#include "forms/popup_menu_win32.h"
#include "ui/placement.h"
#include "ui/window_input.h"

namespace vantor {

namespace {

constexpr DWORD kBorderStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
// HWND_TOP, no size, no move, no activation, show, no owner z-order (0x0253).
constexpr UINT kRaiseFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;
constexpr int kClientWidth = 371, kClientHeight = 393;
constexpr int kButtonLeft[3] = {8, 88, 232};

ScreenRect WorkArea() {
    RECT r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right, r.bottom};
}

using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

SetLayeredFn LayeredAttributes() {
    // Looked up at run time: older systems have no layered windows.
    static SetLayeredFn fn = reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetLayeredWindowAttributes")));
    return fn;
}

std::string WindowTextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

// WM_SETREDRAW works through the WS_VISIBLE bit: "resuming" a hidden window would make it
// visible. So only a window that is visible has its redrawing suspended.
class RedrawPause {
  public:
    explicit RedrawPause(HWND window) : window_(IsWindowVisible(window) ? window : nullptr) {
        if (window_) SendMessageA(window_, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawPause() {
        if (window_) SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

  private:
    HWND window_;
};

void PutOnClipboard(const std::string& text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, text.size() + 1);
    if (memory) {
        if (void* bytes = GlobalLock(memory)) {
            memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_TEXT, memory)) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

}  // namespace

MessageWindow::MessageWindow(MessageLog& log, const SharedRunTexts& texts,
                             SettingsStore& settings, UiTaskQueue& tasks)
    : log_(log),
      texts_(texts),
      settings_(settings),
      tasks_(tasks),
      countdownTimer_(1000, 0, [this] {
          // Coalesced: a GUI thread that is busy gets one tick, not a backlog.
          if (!tickPending_.exchange(true)) {
              tasks_.Post([this] {
                  tickPending_ = false;
                  CountdownTick();
              });
          }
      }) {}

bool MessageWindow::Create(HINSTANCE instance, HWND owner, HICON icon) {
    formBrush_ = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
    RECT frame = {191, 105, 191 + kClientWidth, 105 + kClientHeight};
    AdjustWindowRectEx(&frame, kBorderStyle, FALSE, kExStyle);
    if (!CreateForm(instance, kMessageWindowClass, "Vantor", kBorderStyle, kExStyle, frame.left,
                    frame.top, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                    icon)) {
        return false;
    }
    LOGFONTA lf = {};
    lf.lfHeight = -13;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    font_ = CreateFontIndirectA(&lf);
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    textMenu_ = BuildPopupMenu(TextMenuItems());
    return true;
}

void MessageWindow::EnsureControls() {
    // The text area and the buttons come with the first show: they load the common
    // controls library (over a megabyte), which a tray program that has shown nothing
    // yet need not carry. Until then their text, caption and visibility are kept here.
    if (text_) return;
    text_ = CreateControl(window_, "EDIT", pendingText_.c_str(),
                          WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 2,
                          2, 367, 359, kTextArea);
    pendingText_.clear();
    pendingText_.shrink_to_fit();
    const char* captions[3] = {"Copy", closeCaption_.c_str(), "Exit"};
    for (int i = 0; i < 3; ++i) {
        const DWORD kind = i == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        const DWORD shown = buttonVisible_[i] ? WS_VISIBLE : 0;
        buttons_[i] = CreateControl(window_, "BUTTON", captions[i], WS_TABSTOP | kind | shown,
                                    kButtonLeft[i], 369, 75, 25, kBtCopy + i);
    }
    for (HWND control : {text_, buttons_[0], buttons_[1], buttons_[2]}) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        HookControl(control, &MessageWindow::ControlHookProc, this);
    }
    Layout();
}

void MessageWindow::SetButtonVisible(int id, bool visible) {
    buttonVisible_[id - kBtCopy] = visible;
    if (HWND button = buttons_[id - kBtCopy]) ShowWindow(button, visible ? SW_SHOWNA : SW_HIDE);
    Layout();
}

bool MessageWindow::AnyButtonVisible() const {
    return buttonVisible_[0] || buttonVisible_[1] || buttonVisible_[2];
}

void MessageWindow::SetBorder(bool border) {
    LONG style = GetWindowLongA(window_, GWL_STYLE);
    style = border ? (style | kBorderStyle) : (style & ~static_cast<LONG>(kBorderStyle));
    SetWindowLongA(window_, GWL_STYLE, style);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void MessageWindow::SetBackground(COLORREF color) {
    if (formBrush_) DeleteObject(formBrush_);
    formBrush_ = CreateSolidBrush(color);
    InvalidateRect(window_, nullptr, TRUE);
}

void MessageWindow::SetTextBackgroundToForm() {
    LOGBRUSH lb = {};
    GetObjectA(formBrush_, sizeof(lb), &lb);
    textBackground_ = lb.lbColor;
    if (textBrush_) DeleteObject(textBrush_);
    textBrush_ = CreateSolidBrush(textBackground_);
    if (text_) InvalidateRect(text_, nullptr, TRUE);
}

void MessageWindow::SetTextColor(COLORREF color) {
    textColor_ = color;
    if (text_) InvalidateRect(text_, nullptr, TRUE);
}

void MessageWindow::SetOuterSize(int width, int height) {
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MessageWindow::Layout() {
    if (!text_) return;
    RECT client;
    GetClientRect(window_, &client);
    const int w = client.right, h = client.bottom;
    if (AnyButtonVisible()) {
        // The text area follows all four edges; the buttons only the bottom one.
        MoveWindow(text_, 2, 2, w - (kClientWidth - 367), h - (kClientHeight - 359), TRUE);
        for (int i = 0; i < 3; ++i) {
            MoveWindow(buttons_[i], kButtonLeft[i], h - (kClientHeight - 369), 75, 25, TRUE);
        }
    } else {
        MoveWindow(text_, 1, 1, w - 2, h - 2, TRUE);
    }
}

void MessageWindow::SetText(const std::string& text) {
    if (text_) {
        SetWindowTextA(text_, text.c_str());
    } else {
        pendingText_ = text;
    }
}

void MessageWindow::SetCaption(const std::string& caption) {
    SetWindowTextA(window_, caption.c_str());
}

std::string MessageWindow::Text() const {
    return text_ ? WindowTextOf(text_) : pendingText_;
}

void MessageWindow::SetCloseCaption(const std::string& caption) {
    if (caption == closeCaption_) return;
    closeCaption_ = caption;
    if (buttons_[1]) SetWindowTextA(buttons_[1], caption.c_str());
}

void MessageWindow::PlaceAtCorner() {
    RECT r;
    GetWindowRect(window_, &r);
    const ScreenPoint p = CornerPlacement(WorkArea(), r.right - r.left, r.bottom - r.top);
    SetWindowPos(window_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MessageWindow::ApplyOpacity(int value) {
    const OpacityChange change = PlanOpacity(lastOpacity_, value);
    if (!change.apply) return;
    lastOpacity_ = value;
    LONG ex = GetWindowLongA(window_, GWL_EXSTYLE);
    SetLayeredFn setLayered = LayeredAttributes();
    if (change.layered && setLayered) {
        SetWindowLongA(window_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        setLayered(window_, 0, change.alpha, LWA_ALPHA);
    } else {
        SetWindowLongA(window_, GWL_EXSTYLE, ex & ~static_cast<LONG>(WS_EX_LAYERED));
    }
}

void MessageWindow::ShowClosedMessage(WindowHandle closed, const std::optional<RECT>& closedRect,
                                      const std::string& caption, const std::string& text) {
    EnsureControls();
    {
        RedrawPause pauseForm(window_);
        RedrawPause pauseText(text_);
        ShowClosedMessageText(closed, closedRect, caption, text);
    }
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    UpdateScrollBar();
    RestartCountdown();
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    countdown_.SetKeepOnTop(true);
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, kRaiseFlags);
}

void MessageWindow::ShowClosedMessageText(WindowHandle closed,
                                          const std::optional<RECT>& closedRect,
                                          const std::string& caption, const std::string& text) {
    const auto settings = settings_.Get();
    SetText("");
    SetCaption(caption);
    SetText(text);
    if (closed == 0 || settings->NoCenter || !closedRect) {
        PlaceAtCorner();  // also when the closed dialog's rectangle could not be read
    } else {
        const RECT& r = *closedRect;
        const ScreenPoint p =
            CenteredPlacement({r.left, r.top, r.right, r.bottom}, settings->SavedWidth,
                              settings->SavedHeight, WorkArea());
        SetWindowPos(window_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ApplyOpacity(settings->MessageTransparent);
    UpdateScrollBar();
}

void MessageWindow::ShowAtCorner() {
    EnsureControls();
    PlaceAtCorner();
    RestartCountdown();
    ApplyOpacity(255);
    countdown_.SetKeepOnTop(true);
    UpdateScrollBar();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(text_);
}

void MessageWindow::ApplyPage(const LogPage& page) {
    if (page.caption) SetCaption(*page.caption);
    if (page.text) SetText(*page.text);
}

void MessageWindow::ShowLastMessage() {
    ApplyPage(log_.Last());
    ShowAtCorner();
}

void MessageWindow::ShowPreviousMessage() {
    ApplyPage(log_.Previous(texts_.Get()->ssFirstMessage));
    ShowAtCorner();
}

void MessageWindow::ShowNextMessage() {
    ApplyPage(log_.Next(texts_.Get()->ssLastMessage));
    ShowAtCorner();
}

void MessageWindow::UpdateScrollBar() {
    if (!text_) return;  // nothing shown yet: the first show fits it
    RECT r = {};
    SendMessageA(text_, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    TEXTMETRICA tm = {};
    HDC dc = GetDC(text_);
    HGDIOBJ old = SelectObject(dc, font_);
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(text_, dc);
    const int lines = static_cast<int>(SendMessageA(text_, EM_GETLINECOUNT, 0, 0));
    const bool need =
        NeedsVerticalScrollBar(r.bottom - r.top, tm.tmHeight + tm.tmExternalLeading, lines);
    const LONG style = GetWindowLongA(text_, GWL_STYLE);
    if (need != ((style & WS_VSCROLL) != 0)) {
        SetWindowLongA(text_, GWL_STYLE,
                       need ? (style | WS_VSCROLL) : (style & ~static_cast<LONG>(WS_VSCROLL)));
        ShowScrollBar(text_, SB_VERT, need);
        SetWindowPos(text_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    RecalculateFrame();
}

void MessageWindow::RecalculateFrame() {
    RECT r;
    GetWindowRect(window_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    {
        RedrawPause pause(window_);
        SetWindowPos(window_, nullptr, 0, 0, w - 1, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void MessageWindow::CopyMessageText() {
    if (!text_) {
        PutOnClipboard(pendingText_);
        return;
    }
    DWORD start = 0, end = 0;
    SendMessageA(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    std::string text = Text();
    if (end > start && start < text.size()) text = text.substr(start, end - start);
    PutOnClipboard(text);
}

void MessageWindow::RestartCountdown() {
    if (countdown_.Restart(MessageSeconds(*settings_.Get()))) countdownTimer_.Start();
}

void MessageWindow::Hide() {
    ShowWindow(window_, SW_HIDE);
}

void MessageWindow::CountdownTick() {
    const bool visible = IsWindowVisible(window_) != FALSE;
    const bool active = GetForegroundWindow() == window_;
    const auto settings = settings_.Get();
    const CountdownStep step = countdown_.Tick(visible, active, MessageSeconds(*settings),
                                               settings->IsTimer, texts_.Get()->ssClose);
    if (step.raise) {
        SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, kRaiseFlags);
        if (!(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
            SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        }
    }
    SetCloseCaption(step.closeCaption);
    const bool hides = step.hide && visible;
    if (hides) Hide();
    countdown_.StopIfIdle(visible && !hides, [this] { countdownTimer_.Stop(); });
}

void MessageWindow::ShowTextMenu(POINT at) {
    EnsureControls();
    countdown_.SetKeepOnTop(false);
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: at the character after the selection, kept inside the text area.
        DWORD start = 0, end = 0;
        SendMessageA(text_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        const LRESULT pos = SendMessageA(text_, EM_POSFROMCHAR, end, 0);
        ScreenPoint p{0, 0};
        if (pos != -1) p = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        RECT client;
        GetClientRect(text_, &client);
        p = ClampPointToRect(p, {client.left, client.top, client.right, client.bottom});
        at = {p.x, p.y};
        ClientToScreen(text_, &at);
    }
    TrackMenu(textMenu_, window_, at);
}

bool MessageWindow::ControlHookProc(void* context, HWND control, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    return static_cast<MessageWindow*>(context)->OnControlMessage(control, message, wParam, lParam);
}

bool MessageWindow::OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    KeyTarget target = KeyTarget::kText;
    if (control == buttons_[0]) target = KeyTarget::kCopyButton;
    if (control == buttons_[1]) target = KeyTarget::kCloseButton;
    if (control == buttons_[2]) target = KeyTarget::kExitButton;
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            if (wParam == VK_TAB) {
                SetFocus(GetNextDlgTabItem(window_, control, GetKeyState(VK_SHIFT) < 0));
                return true;
            }
            const KeyAction action =
                MessageWindowKey(static_cast<int>(wParam), GetKeyState(VK_MENU) < 0, target);
            switch (action) {
                case KeyAction::kNone:
                    return false;
                case KeyAction::kHide:
                    Hide();
                    return true;
                case KeyAction::kCopy:
                    CopyMessageText();
                    return true;
                case KeyAction::kExit:
                    if (hooks_.exit) hooks_.exit();
                    return true;
                case KeyAction::kPreviousMessage:
                    ShowPreviousMessage();
                    return true;
            }
            return false;
        }
        case WM_CHAR:
            // The key-down already acted; keep the control from beeping.
            return wParam == VK_RETURN || wParam == VK_ESCAPE || wParam == VK_TAB;
        case WM_CONTEXTMENU:
            if (control != text_) return false;
            ShowTextMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return true;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            if (control != text_) return false;
            TextMouse event = TextMouse::kDoubleClick;
            if (message == WM_LBUTTONDOWN) event = TextMouse::kLeftDown;
            if (message == WM_RBUTTONDOWN) event = TextMouse::kRightDown;
            if (HidesOnMouse(settings_.Get()->CloseOn, event)) Hide();
            return false;
        }
        default:
            return false;
    }
}

bool MessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (notice_ != 0 && message == notice_) {
        if (hooks_.secondStart) hooks_.secondStart(reinterpret_cast<HWND>(lParam));
        result = 0;
        return true;
    }
    switch (message) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(window_, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, formBrush_);
            result = 1;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT: {
            if (reinterpret_cast<HWND>(lParam) != text_) return false;
            HDC dc = reinterpret_cast<HDC>(wParam);
            result = DefWindowProcA(window_, message, wParam, lParam);
            if (textBrush_) {
                SetBkColor(dc, textBackground_);
                result = reinterpret_cast<LRESULT>(textBrush_);
            }
            if (textColor_) ::SetTextColor(dc, *textColor_);
            return true;
        }
        case WM_SIZE:
            Layout();
            if (initialised_) {
                RECT r;
                GetWindowRect(window_, &r);
                settings_.Update([&](MainSettings& s) {
                    s.SavedWidth = r.right - r.left;
                    s.SavedHeight = r.bottom - r.top;
                });
            }
            return false;
        case WM_CLOSE:
            if (closeHandlerRemoved_) return false;
            SetCloseCaption(texts_.Get()->ssClose);
            Hide();
            result = 0;
            return true;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                Hide();
                result = 0;
                return true;
            }
            return false;
        case WM_KEYDOWN: {
            const KeyAction action = MessageWindowKey(static_cast<int>(wParam),
                                                      GetKeyState(VK_MENU) < 0, KeyTarget::kWindow);
            if (action == KeyAction::kHide) Hide();
            if (action == KeyAction::kPreviousMessage) ShowPreviousMessage();
            return action != KeyAction::kNone;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == kBtCopy) {
                CopyMessageText();
            } else if (id == kBtClose) {
                if (hooks_.closeButton) hooks_.closeButton();
                Hide();
            } else if (id == kBtExit) {
                if (hooks_.exit) hooks_.exit();
            } else if (id == kTextArea) {
                return false;
            } else if (hooks_.command) {
                hooks_.command(static_cast<MenuCommand>(id));
            }
            result = 0;
            return true;
        }
        case WM_DESTROY:
            countdownTimer_.Stop();
            if (hooks_.destroyed) hooks_.destroyed();
            return false;
        default:
            return false;
    }
}

}  // namespace vantor
