// fmMain, the message window: a small tool window with a read-only text area and three
// buttons that shows closed messages without taking the focus, counts down and hides.
// Every member runs on the GUI thread; the timer thread reaches it through GuiMessageSink.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "forms/form_win32.h"
#include "forms/mm_timer_win32.h"
#include "forms/ui_task_win32.h"
#include "lang/run_texts.h"
#include "shell/settings_store.h"
#include "ui/countdown.h"
#include "ui/menus.h"
#include "ui/message_log.h"
#include "watcher/window_handle.h"

namespace vantor {

// Window class names, for tests that look the windows up.
inline constexpr char kMessageWindowClass[] = "VantorMessageWindow";

// Control ids of the three buttons (WM_COMMAND BN_CLICKED to fmMain).
enum ButtonId : int { kBtCopy = 1001, kBtClose = 1002, kBtExit = 1003, kTextArea = 1004 };

class MessageWindow : public Form {
  public:
    struct Hooks {
        std::function<void(MenuCommand)> command;      // menu items and accelerators
        std::function<void()> exit;                    // Exit button, Enter on it
        std::function<void(HWND sender)> secondStart;  // the registered notice arrived
        std::function<void()> closeButton;             // btClose click (stops the spy)
        std::function<void()> destroyed;               // WM_DESTROY, before the controls go
    };

    MessageWindow(MessageLog& log, const SharedRunTexts& texts, SettingsStore& settings,
                  UiTaskQueue& tasks);

    bool Create(HINSTANCE instance, HWND owner, HICON icon);
    void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }
    void SetSecondStartNotice(UINT notice) { notice_ = notice; }

    // Layout and colours from the settings.
    void SetButtonVisible(int id, bool visible);
    bool AnyButtonVisible() const;
    void SetBorder(bool border);
    void SetBackground(COLORREF color);
    void SetTextBackgroundToForm();
    void SetTextColor(COLORREF color);
    void SetOuterSize(int width, int height);
    void SetInitialised() { initialised_ = true; }
    void RemoveCloseHandler() { closeHandlerRemoved_ = true; }

    // The operations of the message window.
    // `closedRect` is the closed dialog's rectangle read right after the click (the dialog is
    // usually gone by the time the GUI thread shows the message); none when it was unknown.
    void ShowClosedMessage(WindowHandle closed, const std::optional<RECT>& closedRect,
                           const std::string& caption, const std::string& text);
    void ShowAtCorner();
    void ShowLastMessage();
    void ShowPreviousMessage();
    void ShowNextMessage();
    void UpdateScrollBar();
    void CopyMessageText();
    void RestartCountdown();  // any thread
    void Hide();
    void SetText(const std::string& text);
    void SetCaption(const std::string& caption);
    std::string Text() const;
    void ShowTextMenu(POINT screenPoint);
    void SetKeepOnTop(bool keep) { countdown_.SetKeepOnTop(keep); }
    void ClearWasForeground() { countdown_.ClearWasForeground(); }
    void StopCountdownTimer() { countdownTimer_.Stop(); }
    HMENU TextMenu() const { return textMenu_; }

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    static bool ControlHookProc(void* context, HWND control, UINT message, WPARAM wParam,
                                LPARAM lParam);
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    void CountdownTick();
    // Steps 2-5 of a show, done while redrawing is suspended.
    void ShowClosedMessageText(WindowHandle closed, const std::optional<RECT>& closedRect,
                               const std::string& caption, const std::string& text);
    void EnsureControls();
    void Layout();
    void PlaceAtCorner();
    void ApplyOpacity(int value);
    void ApplyPage(const LogPage& page);
    void RecalculateFrame();
    void SetCloseCaption(const std::string& caption);

    MessageLog& log_;
    const SharedRunTexts& texts_;
    SettingsStore& settings_;
    UiTaskQueue& tasks_;
    Hooks hooks_;
    UINT notice_ = 0;
    HWND text_ = nullptr;  // with the buttons, created by the first show
    HWND buttons_[3] = {};
    bool buttonVisible_[3] = {};
    std::string pendingText_;  // the text area's text while it does not exist
    HMENU textMenu_ = nullptr;
    HFONT font_ = nullptr;
    HBRUSH formBrush_ = nullptr;
    HBRUSH textBrush_ = nullptr;
    COLORREF textBackground_ = 0;
    std::optional<COLORREF> textColor_;
    Countdown countdown_;
    PeriodicTimer countdownTimer_;
    std::atomic<bool> tickPending_{false};
    int lastOpacity_ = -1;
    bool initialised_ = false;
    bool closeHandlerRemoved_ = false;
    std::string closeCaption_ = "Close";
};

}  // namespace vantor
