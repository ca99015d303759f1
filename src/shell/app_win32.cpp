#include "shell/app_win32.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "forms/form_win32.h"
#include "forms/message_loop_win32.h"
#include "forms/mm_timer_win32.h"
#include "forms/popup_menu_win32.h"
#include "forms/tray_icon_win32.h"
#include "forms/ui_task_win32.h"
#include "lang/run_texts.h"
#include "lists/list_files.h"
#include "lists/text.h"
#include "shell/command_line.h"
#include "shell/program_folder.h"
#include "shell/settings.h"
#include "shell/single_instance_win32.h"
#include "ui/gui_message_sink_win32.h"
#include "ui/live_options_store.h"
#include "ui/menus.h"
#include "ui/message_log.h"
#include "ui/message_window_win32.h"
#include "ui/placement.h"
#include "ui/window_input.h"
#include "watcher/advanced_list.h"
#include "watcher/event_path_win32.h"
#include "watcher/scanner.h"
#include "watcher/window_system_win32.h"

namespace vantor {

namespace {

constexpr char kTrayTip[] = "Vantor 3.21";
constexpr UINT kWatcherPeriod = 50;  // ms, the scanner's default and the advanced list's
// The settings dialog's outer size, until the dialog itself exists.
constexpr int kSetupWidth = 451, kSetupHeight = 298;

// The hidden application window: parent of the forms, target of the tray icon's callback.
class AppWindow : public Form {
  public:
    struct Hooks {
        void (*trayMouse)(void* context, UINT mouseMessage);
        void (*endSession)(void* context);
        void* context;
    };
    bool Create(HINSTANCE instance, HICON icon, TrayIcon* tray, Hooks hooks) {
        tray_ = tray;
        hooks_ = hooks;
        return CreateForm(instance, kApplicationWindowClass, "Vantor", WS_POPUP, 0, 0, 0, 0, 0,
                          nullptr, nullptr, icon);
    }

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == kTrayCallbackMessage) {
            hooks_.trayMouse(hooks_.context, static_cast<UINT>(lParam));
            result = 0;
            return true;
        }
        if (tray_ && tray_->HandleTaskbarCreated(message)) return false;
        switch (message) {
            case WM_CLOSE:
                DestroyWindow(window_);
                result = 0;
                return true;
            case WM_DESTROY:
                PostQuitMessage(0);
                return false;
            case WM_QUERYENDSESSION:
                result = TRUE;
                return true;
            case WM_ENDSESSION:
                // The session ends without Exit: the shutdown steps still have to run.
                if (wParam) hooks_.endSession(hooks_.context);
                result = 0;
                return true;
            default:
                return false;
        }
    }

  private:
    TrayIcon* tray_ = nullptr;
    Hooks hooks_{};
};

class Application {
  public:
    explicit Application(HINSTANCE instance)
        : instance_(instance),
          window_(log_, texts_, windowSettings_, tasks_),
          sink_(log_, window_, tasks_),
          scanner_(windowSystem_, lists_, sink_, options_, texts_),
          advanced_(windowSystem_, lists_, sink_, texts_),
          scannerTimer_(kWatcherPeriod, 10,
                        [this] {
                            windowSystem_.BeginTick();
                            scanner_.ScannerTick();
                            windowSystem_.EndTick();
                        }),
          advancedTimer_(kWatcherPeriod, 10,
                         [this] {
                             // With equal periods one system timer serves both handlers, in
                             // the order they were started: half the wake-ups when idle, and
                             // one look at the foreground window for both.
                             windowSystem_.BeginTick();
                             if (scannerShares_) scanner_.ScannerTick();
                             advanced_.AdvancedListTick();
                             windowSystem_.EndTick();
                         }),
          spyTimer_(50, 0, [] {}),
          events_(windowSystem_, scanner_),
          settingsFile_(std::string()) {}

    int Run();

  private:
    void CreateMainForm();
    void InitialiseMainForm();
    void LoadSetupState();
    void ApplyRunSettings(const RunSettings& run);
    void OnCommand(MenuCommand command);
    void OnTrayMouse(UINT mouseMessage);
    void OnSecondStart(HWND sender);
    void ToggleDisable();
    void StartWatcher();
    void StopTimers();
    void Exit();
    void OnMainFormDestroyed();

    HINSTANCE instance_;
    UiTaskQueue tasks_;
    MessageLog log_;
    SharedRunTexts texts_;
    MessageWindowSettings windowSettings_;
    LiveOptionsStore options_;
    ProgramLists lists_;
    Win32WindowSystem windowSystem_;
    MessageWindow window_;
    GuiMessageSink sink_;
    Scanner scanner_;
    AdvancedList advanced_;
    PeriodicTimer scannerTimer_;
    PeriodicTimer advancedTimer_;
    // The scanner runs inside the advanced-list timer while both have the default period.
    std::atomic<bool> scannerShares_{true};
    PeriodicTimer spyTimer_;
    // Other programs' new windows are looked at between the ticks ("WindowEvents").
    EventPath events_;
    bool windowEvents_ = true;
    AppWindow appWindow_;
    TrayIcon tray_;
    HMENU trayMenu_ = nullptr;
    HACCEL accelerators_ = nullptr;
    HICON mainIcon_ = nullptr, trayMainIcon_ = nullptr, enabledIcon_ = nullptr,
          disabledIcon_ = nullptr;
    std::string folder_;
    SettingsFile settingsFile_;
    bool firstInstance_ = false;
    bool destroyed_ = false;
    DialogSettings dialog_;
};

int Application::Run() {
    folder_ = ProgramFolderOf(RunningExecutablePath());
    mainIcon_ = LoadIconA(instance_, "MAINICON");
    tasks_.Create(instance_);
    // 1. The application object and its hidden window.
    appWindow_.Create(
        instance_, mainIcon_, &tray_,
        {[](void* self, UINT m) { static_cast<Application*>(self)->OnTrayMouse(m); },
         [](void* self) { static_cast<Application*>(self)->OnMainFormDestroyed(); }, this});
    // 2. fmMain with its timers, tray icon, menus and controls, then its initialisation.
    CreateMainForm();
    InitialiseMainForm();
    // 3. What the settings dialog's load does at start.
    LoadSetupState();
    // 4.-5. Keyboard navigation lives in the message window's key handling; run the loop.
    const int code = RunMessageLoop(window_.Window(), accelerators_);
    if (!destroyed_) OnMainFormDestroyed();
    return code;
}

void Application::CreateMainForm() {
    trayMainIcon_ = LoadIconA(instance_, "ZFMMAIN_TRAYMAIN");
    enabledIcon_ = LoadIconA(instance_, "ZFMMAIN_TRAYENABLED");
    disabledIcon_ = LoadIconA(instance_, "ZFMMAIN_TRAYDISABLED");
    window_.Create(instance_, appWindow_.Window(), mainIcon_);
    window_.SetHooks({[this](MenuCommand c) { OnCommand(c); }, [this] { Exit(); },
                      [this](HWND sender) { OnSecondStart(sender); }, [this] { spyTimer_.Stop(); },
                      [this] { OnMainFormDestroyed(); }});
    tray_.Add(appWindow_.Window(), kTrayCallbackMessage, trayMainIcon_, "Vantor");
    trayMenu_ = BuildPopupMenu(TrayMenuItems());
    accelerators_ = BuildAccelerators(MenuAccelerators());
    scanner_.Closer().SetOwnWindow(reinterpret_cast<WindowHandle>(window_.Window()));
}

void Application::InitialiseMainForm() {
    // 1. Single instance: a second start notifies the running one and closes itself as soon
    // as the message loop runs.
    const InstanceCheck check = CheckSingleInstance();
    firstInstance_ = check.first;
    if (firstInstance_) {
        window_.SetSecondStartNotice(check.notice);
    } else {
        NotifyRunningInstance(check.notice, window_.Window());
        window_.RemoveCloseHandler();
        PostMessageA(window_.Window(), WM_CLOSE, 0, 0);
        PostMessageA(appWindow_.Window(), WM_CLOSE, 0, 0);
    }
    // 2. The list watch arrives with the list-reload work.
    // 3.-5. Defaults, the settings file (written when missing), the main-form keys.
    PrepareSettingsFile(folder_);
    settingsFile_ = SettingsFile(SettingsPathIn(folder_));
    RunSettings run;
    ReadMainFormKeys(settingsFile_, run);
    ReadWatcherKeys(settingsFile_, run);
    // 6. The enabled icon; 7. the command line overrides the file for this run.
    tray_.SetIcon(enabledIcon_);
    ApplyCommandLine(SplitCommandLine(GetCommandLineA()), run);
    ApplyRunSettings(run);
    // 8.-11. The text area fills the window when no button shows (layout does it); the log
    // is empty; the list files are written when missing and loaded.
    PrepareRuleLists(folder_, lists_);
    PrepareClassLists(folder_, lists_);
    // 12. The engine's state between ticks.
    scanner_.Reset();
    advanced_.Reset();
    // 13.-15.
    window_.SetCaption("Vantor");
    tray_.SetTip(kTrayTip);
    window_.ClearWasForeground();
    RunSettings size;
    ReadSavedSize(settingsFile_, size);
    windowSettings_.savedWidth = size.SavedWidth;
    windowSettings_.savedHeight = size.SavedHeight;
    window_.SetOuterSize(windowSettings_.savedWidth, windowSettings_.savedHeight);
    window_.SetInitialised();
}

void Application::ApplyRunSettings(const RunSettings& run) {
    window_.SetButtonVisible(kBtCopy, run.CopyVisible);
    window_.SetButtonVisible(kBtClose, run.CloseVisible);
    window_.SetButtonVisible(kBtExit, run.ExitVisible);
    window_.SetBorder(run.Border);
    windowSettings_.isTimer = run.IsTimer;
    windowSettings_.messageTransparent = run.MessageTransparent;
    windowSettings_.messageTime = static_cast<unsigned>(std::max(0, run.MessageTime));
    windowSettings_.noCenter = run.NoCenter;
    if (run.Background.kind == BackgroundKind::ButtonFace) {
        window_.SetBackground(GetSysColor(COLOR_BTNFACE));
    } else if (run.Background.kind == BackgroundKind::Rgb) {
        window_.SetBackground(run.Background.rgb);
    }
    if (run.Background.textAreaFollows) window_.SetTextBackgroundToForm();
    if (run.TextColor) window_.SetTextColor(*run.TextColor);
    scannerTimer_.SetPeriod(static_cast<UINT>(run.ScannerPeriod));
    scannerShares_ = scannerTimer_.Period() == kWatcherPeriod;
    windowEvents_ = run.WindowEvents;
}

void Application::LoadSetupState() {
    texts_.Set(RunTexts{});
    window_.SetText(texts_.Get()->ssNotAutoClosed);
    ReadDialogKeys(settingsFile_, dialog_);
    const ScreenPoint setup =
        ClampToScreen({dialog_.Left, dialog_.Top}, kSetupWidth, kSetupHeight,
                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    dialog_.Left = setup.x;
    dialog_.Top = setup.y;
    windowSettings_.closeOn = dialog_.Close;
    options_.autoclose = dialog_.Autoclose;
    options_.changeCase = dialog_.ChangeCase;
    options_.changeCaseFirst = dialog_.ChangeCaseFirst;
    options_.selectAll = dialog_.SelectAll;
    options_.closeYesNo = dialog_.CloseYesNo;
    // A second start is on its way out: it must not close anybody's dialogs meanwhile.
    if (firstInstance_) {
        windowSystem_.WatchForegroundChanges();
        StartWatcher();
    }
}

void Application::OnCommand(MenuCommand command) {
    switch (command) {
        case kCmdLastMessage:
            window_.ShowLastMessage();
            break;
        case kCmdTrayPrevious:
        case kCmdPrevious:
            window_.ShowPreviousMessage();
            break;
        case kCmdNext:
            window_.ShowNextMessage();
            break;
        case kCmdCopy:
            window_.CopyMessageText();
            break;
        case kCmdDisable:
            ToggleDisable();
            break;
        case kCmdExit:
            Exit();
            break;
        default:
            // Spy, Settings, About, Help topic and the list items come with their own work.
            break;
    }
}

void Application::OnTrayMouse(UINT mouseMessage) {
    switch (TrayMouse(mouseMessage)) {
        case TrayAction::kToggleWindow:
            if (IsWindowVisible(window_.Window())) {
                PostMessageA(window_.Window(), WM_CLOSE, 0, 0);
            } else {
                window_.ShowLastMessage();
            }
            break;
        case TrayAction::kOpenMenu: {
            SetForegroundWindow(window_.Window());
            POINT at;
            GetCursorPos(&at);
            window_.SetKeepOnTop(false);
            TrackMenu(trayMenu_, window_.Window(), at);
            PostMessageA(window_.Window(), WM_NULL, 0, 0);
            break;
        }
        case TrayAction::kNone:
            break;
    }
}

void Application::OnSecondStart(HWND sender) {
    // The second start's command line is in its caption; option words given there change
    // nothing here, so it is read and dropped.
    char commandLine[512] = {};
    GetWindowTextA(sender, commandLine, sizeof(commandLine));
    for (ListKind kind : {ListKind::Main, ListKind::Black, ListKind::White, ListKind::Replace}) {
        LoadRuleList(ListFilePath(folder_, kind), kind, lists_.Get(kind));
    }
    window_.SetText(texts_.Get()->ssVantorRunning);
    window_.UpdateScrollBar();
    window_.ShowLastMessage();
}

void Application::ToggleDisable() {
    const bool wasChecked = IsMenuItemChecked(trayMenu_, kCmdDisable);
    SetMenuItemChecked(trayMenu_, kCmdDisable, !wasChecked);
    if (wasChecked) {
        StartWatcher();
        tray_.SetIcon(enabledIcon_);
    } else {
        scannerTimer_.Stop();
        advancedTimer_.Stop();
        events_.Stop();
        tray_.SetIcon(disabledIcon_);
    }
}

void Application::StartWatcher() {
    if (!scannerShares_) scannerTimer_.Start();
    advancedTimer_.Start();
    if (windowEvents_) events_.Start();
}

void Application::StopTimers() {
    events_.Stop();
    scannerTimer_.Stop();
    advancedTimer_.Stop();
    spyTimer_.Stop();
    window_.StopCountdownTimer();
}

void Application::Exit() {
    StopTimers();
    // A tick asleep in an advanced-list rule wakes at once rather than holding the exit.
    windowSystem_.CancelSleeps();
    window_.RemoveCloseHandler();
    PostMessageA(appWindow_.Window(), WM_CLOSE, 0, 0);
}

void Application::OnMainFormDestroyed() {
    if (destroyed_) return;
    destroyed_ = true;
    // Also reached when the session ends without Exit: the timers stop before anything
    // their handlers use goes away. A tick blocked in another program is not waited for
    // beyond a bound; the lists and the log are kept until the process ends.
    StopTimers();
    windowSystem_.CancelSleeps();
    WaitForIdleTimers(1500);
    windowSystem_.StopWatchingForegroundChanges();
    {
        SettingsWriteScope writing(settingsFile_);
        WriteShutdownKeys(settingsFile_, windowSettings_.savedWidth, windowSettings_.savedHeight,
                          dialog_.Left, dialog_.Top);
    }
    tray_.Remove();
}

}  // namespace

int RunApplication(HINSTANCE instance) {
    // Never deleted: a timer tick may still be running in another program's window when the
    // loop ends; the process exit ends it.
    auto* app = new Application(instance);
    const int code = app->Run();
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace vantor
