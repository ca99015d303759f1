// The message window itself: its controls, colours and layout, its keys, its text menu and
// its window messages. How it shows and counts down is in message_window_show_win32.cpp.
#include "ui/message_window_win32.h"

#include "forms/clipboard_win32.h"
#include "forms/dpi_win32.h"
#include "forms/popup_menu_win32.h"

namespace vantor {

namespace {

constexpr DWORD kBorderStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr UINT_PTR kCountdownTimerId = 1;
// 96-DPI units, scaled to the window's monitor.
constexpr int kClientWidth = 371, kClientHeight = 393;
constexpr int kTextWidth = 367, kTextHeight = 359, kButtonTop = 369;

// The text area follows all four edges of the window, the buttons only the bottom one
// (Layout). The buttons start hidden; the settings show them.
constexpr ControlDef kControls[] = {
    {kTextArea, "EDIT", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 2, 2,
     kTextWidth, kTextHeight, 0, Caption::kNone},
    {kBtCopy, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 8, kButtonTop, 75, 25, 0, Caption::btCopy},
    {kBtClose, "BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 88, kButtonTop, 75, 25, 0,
     Caption::btClose},
    {kBtExit, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 232, kButtonTop, 75, 25, 0, Caption::btExit},
};

}  // namespace

MessageWindow::MessageWindow(const SharedRunTexts& texts, const SettingsStore& settings,
                             UiTaskQueue& tasks)
    : texts_(texts), settings_(settings), tasks_(tasks) {}

// The count is shown and hidden on the GUI thread, so it ticks there, as the window's own
// timer: no timer thread comes and goes with every message, and a busy GUI thread gets one
// WM_TIMER, not a backlog.
void MessageWindow::StartCountdownTimer() {
    if (countdownRunning_.exchange(true)) return;  // it runs: its phase stays
    // Only the window's own thread may set its timers.
    tasks_.Post([this] {
        if (!window_) countdownRunning_ = false;
        if (countdownRunning_) SetTimer(window_, kCountdownTimerId, 1000, nullptr);
    });
}

void MessageWindow::StopCountdownTimer() {
    countdownRunning_ = false;
    KillTimer(window_, kCountdownTimerId);
}

bool MessageWindow::Create(HINSTANCE instance, HWND owner, HICON icon, HACCEL accelerators,
                           const CaptionSet& captions) {
    formBrush_ = CreateSolidBrush(GetSysColor(COLOR_INFOBK));
    // The client area's top left at 191, 105 (screen pixels), its size scaled to the monitor.
    RECT frame = {191, 105, 191 + ScaleToDpi(kClientWidth, SystemDpi()),
                  105 + ScaleToDpi(kClientHeight, SystemDpi())};
    AdjustFrameForDpi(frame, kBorderStyle, kExStyle, SystemDpi());
    if (!CreateForm(instance, kMessageWindowClass, std::string(kProgramCaption).c_str(),
                    kBorderStyle, kExStyle, frame.left, frame.top, frame.right - frame.left,
                    frame.bottom - frame.top, owner, nullptr, icon)) {
        return false;
    }
    DialogOptions options;
    options.defaultButton = kBtClose;
    options.accelerators = accelerators;
    SetControlTable(kControls, options);
    ApplyCaptions(captions);
    textMenu_ = BuildPopupMenu(TextMenuItems(), captions);
    return true;
}

void MessageWindow::Command(MenuCommand command) {
    if (command != kCmdNone && hooks_.command) hooks_.command(command);
}

void MessageWindow::EnsureControls() {
    // The text area and the buttons come with the first show: they load the common
    // controls library (over a megabyte), which a tray program that has shown nothing
    // yet need not carry. Until then the base keeps their texts and visibility.
    if (ControlsCreated()) return;
    CreateControls();
    textArea_.Attach(Control(kTextArea), {[this](TextMouse event, POINT) { OnTextMouse(event); },
                                          [this](POINT at) { ShowTextMenu(at); }});
    Layout();
}

void MessageWindow::OnTextMouse(TextMouse event) {
    if (hooks_.textMouse) hooks_.textMouse(event);
    if (HidesOnMouse(settings_.Get()->CloseOn, event)) Hide();
}

void MessageWindow::SetButtonVisible(int id, bool visible) {
    SetControlVisible(id, visible);
    Layout();
}

bool MessageWindow::AnyButtonVisible() const {
    return ControlVisible(kBtCopy) || ControlVisible(kBtClose) || ControlVisible(kBtExit);
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
    if (HWND text = textArea_.Handle()) InvalidateRect(text, nullptr, TRUE);
}

void MessageWindow::SetTextColor(COLORREF color) {
    textColor_ = color;
    if (HWND text = textArea_.Handle()) InvalidateRect(text, nullptr, TRUE);
}

void MessageWindow::SetOuterSize(int width, int height) {
    SetWindowPos(window_, nullptr, 0, 0, Scale(width), Scale(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MessageWindow::Layout() {
    HWND text = textArea_.Handle();
    if (!text) return;
    RECT client;
    GetClientRect(window_, &client);
    const int w = client.right, h = client.bottom;
    if (AnyButtonVisible()) {
        MoveWindow(text, Scale(2), Scale(2), w - Scale(kClientWidth - kTextWidth),
                   h - Scale(kClientHeight - kTextHeight), TRUE);
        for (const ControlDef& def : kControls) {
            if (def.id == kTextArea) continue;
            const DesignRect r = ScaleRect({def.x, 0, def.width, def.height}, Dpi());
            MoveWindow(Control(def.id), r.x, h - Scale(kClientHeight - kButtonTop), r.width,
                       r.height, TRUE);
        }
    } else {
        MoveWindow(text, Scale(1), Scale(1), w - Scale(2), h - Scale(2), TRUE);
    }
}

void MessageWindow::OnDpiChanged() {
    Layout();
    UpdateScrollBar();
}

void MessageWindow::SetCaption(const std::string& caption) {
    SetWindowTextA(window_, caption.c_str());
}

void MessageWindow::CopyMessageText() {
    PutTextOnClipboard(textArea_.SelectionOrWholeText());
}

void MessageWindow::ShowTextMenu(POINT at) {
    EnsureControls();
    countdown_.SetKeepOnTop(false);
    // From the keyboard: at the character after the selection, kept inside the text area.
    if (at.x == -1 && at.y == -1) at = textArea_.SelectionEndPoint();
    TrackMenu(textMenu_, window_, at);
}

bool MessageWindow::OnKey(const MSG& msg) {
    KeyTarget target = KeyTarget::kWindow;
    if (msg.hwnd == textArea_.Handle()) target = KeyTarget::kText;
    if (msg.hwnd == Control(kBtCopy)) target = KeyTarget::kCopyButton;
    if (msg.hwnd == Control(kBtClose)) target = KeyTarget::kCloseButton;
    if (msg.hwnd == Control(kBtExit)) target = KeyTarget::kExitButton;
    switch (MessageWindowKey(static_cast<int>(msg.wParam), GetKeyState(VK_MENU) < 0, target)) {
        case KeyAction::kNone:
            return false;
        case KeyAction::kHide:
            Hide();
            return true;
        case KeyAction::kCopy:
            CopyMessageText();
            return true;
        case KeyAction::kExit:
            Command(kCmdExit);
            return true;
        case KeyAction::kPreviousMessage:
            Command(kCmdPrevious);
            return true;
    }
    return false;
}

bool MessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (notice_ != 0 && message == notice_) {
        // lParam (the sender's window) is not used: nothing a sender passes is followed.
        result = hooks_.secondStart ? hooks_.secondStart(wParam) : 0;
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
            if (reinterpret_cast<HWND>(lParam) != textArea_.Handle()) return false;
            HDC dc = reinterpret_cast<HDC>(wParam);
            result = DefWindowProcA(window_, message, wParam, lParam);
            if (textBrush_) {
                SetBkColor(dc, textBackground_);
                result = reinterpret_cast<LRESULT>(textBrush_);
            }
            if (textColor_) ::SetTextColor(dc, *textColor_);
            return true;
        }
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (pos->flags & SWP_SHOWWINDOW) shown_ = true;
            if (pos->flags & SWP_HIDEWINDOW) shown_ = false;
            return false;
        }
        case WM_SIZE:
            Layout();
            if (initialised_ && hooks_.resized) {
                RECT r;
                GetWindowRect(window_, &r);
                // In 96-DPI units: the stored size means the same at every scale.
                hooks_.resized(ScaleFromDpi(r.right - r.left, Dpi()),
                               ScaleFromDpi(r.bottom - r.top, Dpi()));
            }
            return false;
        case WM_CLOSE:
            if (closeHandlerRemoved_) return false;
            SetControlText(kBtClose, texts_.Get()->ssClose);
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
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == kTextArea) return false;  // the text area's notifications
            const MenuCommand button = ButtonCommand(id);
            Command(button != kCmdNone ? button : static_cast<MenuCommand>(id));
            result = 0;
            return true;
        }
        case WM_TIMER:
            if (wParam != kCountdownTimerId) return false;
            CountdownTick();
            result = 0;
            return true;
        case WM_DESTROY:
            StopCountdownTimer();
            if (hooks_.destroyed) hooks_.destroyed();
            return false;
        default:
            return DialogForm::HandleMessage(message, wParam, lParam, result);
    }
}

}  // namespace vantor
