// The message window's showing: where it comes up, its opacity, the scroll bar fitted to
// the text, and the one-second countdown that raises it, counts on the Close button and
// hides it.
#include "forms/dpi_win32.h"
#include "forms/program_font_win32.h"
#include "forms/redraw_pause_win32.h"
#include "ui/message_window_win32.h"
#include "ui/placement.h"

namespace vantor {

namespace {

// HWND_TOP, no size, no move, no activation, show, no owner z-order (0x0253).
constexpr UINT kRaiseFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER;

ScreenRect ToScreenRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

SetLayeredFn LayeredAttributes() {
    // Looked up at run time: older systems have no layered windows.
    static SetLayeredFn fn = reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetLayeredWindowAttributes")));
    return fn;
}

}  // namespace

void MessageWindow::PlaceAtCorner() {
    // Above the tray icon: the corner of the monitor that holds the notification area.
    const ScreenRect work = ToScreenRect(TrayWorkArea());
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int dpi = Dpi();
        RECT r;
        GetWindowRect(window_, &r);
        const ScreenPoint p = CornerPlacement(work, r.right - r.left, r.bottom - r.top);
        SetWindowPos(window_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // A move onto a monitor of another scale resized the window: place it once more.
        if (Dpi() == dpi) break;
    }
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

void MessageWindow::ShowMessage(WindowHandle closed, const std::optional<RECT>& closedRect,
                                const std::string& caption, const std::string& text) {
    EnsureControls();
    {
        RedrawPause pauseForm(window_);
        RedrawPause pauseText(textArea_.Handle());
        ShowMessageText(closed, closedRect, caption, text);
    }
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    UpdateScrollBar();
    RestartCountdown();
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    countdown_.SetKeepOnTop(true);
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, kRaiseFlags);
}

void MessageWindow::ShowMessageText(WindowHandle closed, const std::optional<RECT>& closedRect,
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
            CenteredPlacement(ToScreenRect(r), Scale(settings->SavedWidth),
                              Scale(settings->SavedHeight), ToScreenRect(WorkAreaOfRect(r)));
        SetWindowPos(window_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ApplyOpacity(settings->MessageTransparent);
    UpdateScrollBar();
}

void MessageWindow::ShowAtCorner() {
    Present(true);
}

void MessageWindow::ShowAtCornerKeepingCount() {
    Present(false);
}

void MessageWindow::Present(bool restartCount) {
    EnsureControls();
    PlaceAtCorner();
    if (restartCount) RestartCountdown();
    ApplyOpacity(255);
    countdown_.SetKeepOnTop(true);
    UpdateScrollBar();
    ShowAndActivate();
}

void MessageWindow::ShowAndActivate() {
    EnsureControls();
    // A count that ran out and went idle must run again, or the window would stay for good.
    if (countdown_.Shown()) StartCountdownTimer();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    textArea_.Focus();
}

void MessageWindow::ShowPage(const LogPage& page) {
    if (page.caption) SetCaption(*page.caption);
    if (page.text) SetText(*page.text);
    ShowAtCorner();
}

void MessageWindow::UpdateScrollBar() {
    if (!textArea_.Handle()) return;  // nothing shown yet: the first show fits it
    textArea_.FitScrollBar(ProgramFont(Dpi()));
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

void MessageWindow::RestartCountdown() {
    if (countdown_.Restart(MessageSeconds(*settings_.Get()))) StartCountdownTimer();
}

void MessageWindow::Hide() {
    ShowWindow(window_, SW_HIDE);
}

void MessageWindow::CountdownTick() {
    const bool visible = IsWindowVisible(window_) != FALSE;
    const bool active = GetForegroundWindow() == window_;
    const auto settings = settings_.Get();
    const CountdownStep step =
        countdown_.Tick(visible, active, MessageSeconds(*settings), settings->CloseButtonCountdown,
                        texts_.Get()->ssClose);
    if (step.raise) {
        SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, kRaiseFlags);
        if (!(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
            SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
        }
    }
    SetControlText(kBtClose, step.closeCaption);
    const bool hides = step.hide && visible;
    if (hides) Hide();
    countdown_.StopIfIdle(visible && !hides, [this] { StopCountdownTimer(); });
}

}  // namespace vantor
