// fmMain, the message window: a small tool window with a read-only text area and three
// buttons that shows closed messages without taking the focus, counts down and hides. It
// only shows: every program command it receives (its menus, accelerators, the Copy, Close
// and Exit buttons, Alt+Left, Enter on Exit) goes to the application's dispatcher.
// Every member runs on the GUI thread; the timer thread reaches it through GuiMessageSink.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "forms/dialog_form_win32.h"
#include "forms/ui_task_win32.h"
#include "lang/run_texts.h"
#include "settings/settings_store.h"
#include "ui/countdown.h"
#include "ui/menus.h"
#include "ui/message_log.h"
#include "ui/text_area_win32.h"
#include "ui/window_input.h"
#include "watcher/window_handle.h"

namespace vantor {

// Window class names, for tests that look the windows up.
inline constexpr char kMessageWindowClass[] = "VantorMessageWindow";

class MessageWindow : public DialogForm {
  public:
    struct Hooks {
        std::function<void(MenuCommand)> command;      // to the application's dispatcher
        // The registered notice arrived with this wParam (only plain codes act; lParam, the
        // sender's window, is never used); the answer goes back to the sender.
        std::function<LRESULT(WPARAM code)> secondStart;
        std::function<void()> destroyed;               // WM_DESTROY, before the controls go
        std::function<void(TextMouse)> textMouse;      // the text area's buttons (links)
        // The user sized the window: its outer size in 96-DPI units, as it is stored.
        std::function<void(int width, int height)> resized;
    };

    MessageWindow(const SharedRunTexts& texts, const SettingsStore& settings, UiTaskQueue& tasks);

    // The accelerators act while the focus is in the window; the captions text the menu.
    bool Create(HINSTANCE instance, HWND owner, HICON icon, HACCEL accelerators,
                const CaptionSet& captions);
    void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }
    void SetSecondStartNotice(UINT notice) { notice_ = notice; }

    // Layout and colours from the settings.
    void SetButtonVisible(int id, bool visible);
    bool AnyButtonVisible() const;
    void SetBorder(bool border);
    void SetBackground(COLORREF color);
    void SetTextBackgroundToForm();
    void SetTextColor(COLORREF color);
    // 96-DPI units, as "Width" and "Height" are stored.
    void SetOuterSize(int width, int height);
    void SetInitialised() { initialised_ = true; }
    void RemoveCloseHandler() { closeHandlerRemoved_ = true; }

    // The operations of the message window.
    // `closedRect` is the closed dialog's rectangle read right after the click (the dialog is
    // usually gone by the time the GUI thread shows the message); none when it was unknown.
    void ShowMessage(WindowHandle closed, const std::optional<RECT>& closedRect,
                     const std::string& caption, const std::string& text);
    void ShowAtCorner();
    // The same for the spy, which leaves the count as it is: the window stays while it is in
    // the foreground and hides once it has lost it.
    void ShowAtCornerKeepingCount();
    // Visible, foreground, the focus in the text; the countdown keeps running for it.
    void ShowAndActivate();
    // A page of the log (the dispatcher pages it), shown as a show by command.
    void ShowPage(const LogPage& page);
    void UpdateScrollBar();
    void CopyMessageText();
    void RestartCountdown();  // any thread
    void Hide();
    void SetText(const std::string& text) { textArea_.SetText(text); }
    void SetCaption(const std::string& caption);
    std::string Text() const { return textArea_.Text(); }
    // Shown and not hidden since, read on any thread. Unlike IsWindowVisible it does not
    // flicker while redrawing is suspended (WM_SETREDRAW clears WS_VISIBLE meanwhile).
    bool Shown() const { return shown_.load(); }
    // The text area, for the features that work on the message text.
    TextArea& Area() { return textArea_; }
    void ShowTextMenu(POINT screenPoint);
    void SetKeepOnTop(bool keep) { countdown_.SetKeepOnTop(keep); }
    void ClearWasForeground() { countdown_.ClearWasForeground(); }
    void StopCountdownTimer();  // GUI thread
    HMENU TextMenu() const { return textMenu_; }

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnKey(const MSG& msg) override;
    void OnDpiChanged() override;

  private:
    void Command(MenuCommand command);
    void CountdownTick();
    // The one-second timer: any thread may start it, it ticks on the GUI thread.
    void StartCountdownTimer();
    // A show by command or by the spy: at the corner, opaque, active.
    void Present(bool restartCount);
    // Steps 2-5 of a show, done while redrawing is suspended.
    void ShowMessageText(WindowHandle closed, const std::optional<RECT>& closedRect,
                         const std::string& caption, const std::string& text);
    void EnsureControls();
    void OnTextMouse(TextMouse event);
    void Layout();
    void PlaceAtCorner();
    void ApplyOpacity(int value);
    void RecalculateFrame();

    const SharedRunTexts& texts_;
    const SettingsStore& settings_;
    UiTaskQueue& tasks_;
    Hooks hooks_;
    UINT notice_ = 0;
    TextArea textArea_;
    HMENU textMenu_ = nullptr;
    HBRUSH formBrush_ = nullptr;
    HBRUSH textBrush_ = nullptr;
    COLORREF textBackground_ = 0;
    std::optional<COLORREF> textColor_;
    Countdown countdown_;
    std::atomic<bool> countdownRunning_{false};
    std::atomic<bool> shown_{false};
    int lastOpacity_ = -1;
    bool initialised_ = false;
    bool closeHandlerRemoved_ = false;
};

}  // namespace vantor
