#include "shell/app_win32.h"

#include <algorithm>

#include "forms/fault_note.h"
#include "forms/message_loop_win32.h"
#include "forms/popup_menu_win32.h"
#include "forms/system_error_win32.h"
#include "lang/about.h"
#include "lang/help.h"
#include "settings/command_line.h"
#include "shell/application_win32.h"
#include "shell/program_folder.h"
#include "shell/single_instance_win32.h"
#include "ui/placement.h"

namespace vantor {

namespace {

constexpr UINT_PTR kExitLaterTimer = 1;  // Exit after its notice of a failed write was shown

}  // namespace

bool AppWindow::Create(HINSTANCE instance, HICON icon, TrayIcon* tray, Hooks hooks) {
    tray_ = tray;
    hooks_ = hooks;
    return CreateForm(instance, kApplicationWindowClass, "Vantor", WS_POPUP, 0, 0, 0, 0, 0, nullptr,
                      nullptr, icon);
}

bool AppWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kTrayCallbackMessage) {
        hooks_.trayMouse(hooks_.context, static_cast<UINT>(lParam));
        result = 0;
        return true;
    }
    if (tray_ && tray_->HandleTaskbarCreated(message)) return false;
    switch (message) {
        case WM_TIMER:
            if (wParam != kExitLaterTimer) return false;
            KillTimer(window_, kExitLaterTimer);
            DestroyWindow(window_);
            result = 0;
            return true;
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

Application::Application(HINSTANCE instance)
    : instance_(instance),
      executable_(RunningExecutablePath()),
      texts_(ProgramFolderOf(executable_), HelpFileOfModule(executable_)),
      options_(settings_),
      window_(texts_.Run(), settings_, tasks_),
      dialog_(settings_),
      sink_(log_, window_, tasks_, history_),
      watcher_(lists_, sink_, options_, texts_.Run()),
      spy_(watcher_.Windows(), window_, tasks_),
      folder_(ProgramFolderOf(executable_)),
      listService_(folder_, lists_, SystemFileTimes()) {}

int Application::Run() {
    // An error caught at a thread's or callback's edge is kept as a note in the log.
    SetFaultNoteReceiver(
        [](void* log, const std::string& note) {
            static_cast<MessageLog*>(log)->Append(std::string(kProgramCaption), note);
        },
        &log_);
    mainIcon_ = LoadIconA(instance_, "MAINICON");
    tasks_.Create(instance_);
    // 1. The application object and its hidden window.
    appWindow_.Create(
        instance_, mainIcon_, tray_.Icon(),
        {[](void* self, UINT m) { static_cast<Application*>(self)->Dispatch(TrayCommand(m)); },
         [](void* self) { static_cast<Application*>(self)->OnMainFormDestroyed(); }, this});
    // 2. fmMain with its timers, tray icon, menus and controls, then its initialisation.
    CreateMainForm();
    InitialiseMainForm();
    // 3. The settings dialog, hidden; its load applies the language and starts the watcher.
    CreateSetupDialog();
    LoadSetupState();
    // 4.-5. The loop offers each message to its form first: accelerators and keyboard
    // navigation.
    const int code = RunMessageLoop();
    if (!destroyed_) OnMainFormDestroyed();
    return code;
}

void Application::CreateMainForm() {
    tray_.LoadIcons(instance_);
    accelerators_ = BuildAccelerators(MenuAccelerators());
    window_.Create(instance_, appWindow_.Window(), mainIcon_, accelerators_, texts_.Captions());
    window_.SetHooks({[this](MenuCommand c) { Dispatch(c); }, [this](WPARAM code) { return OnSecondStart(code); },
                      [this] { OnMainFormDestroyed(); },
                      [this](TextMouse event) { OnTextMouse(event); },
                      [this](int width, int height) {
                          settings_.Update([&](MainSettings& s) {
                              s.SavedWidth = width;
                              s.SavedHeight = height;
                          });
                      }});
    tray_.Add(appWindow_.Window(), kTrayCallbackMessage, texts_.Captions());
    watcher_.SetOwnWindow(reinterpret_cast<WindowHandle>(window_.Window()));
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
    // 2. The watch on the program folder, before anything there is read or written; a
    // second start is on its way out and watches nothing.
    if (firstInstance_) StartListWatch();
    // 3.-5. Defaults, the settings file (written when missing), the main-form keys.
    // The section is read once; from here on the settings in force are its snapshot.
    PrepareSettingsFile(folder_);
    settings_.Load(SettingsPathIn(folder_));
    // 6. The enabled icon; 7. the command line overrides the file for this run.
    tray_.SetDisabled(false);
    settings_.Update(
        [](MainSettings& s) { ApplyCommandLine(SplitCommandLine(GetCommandLineA()), s); });
    ApplyMainFormSettings();
    // History.txt, for the first instance only; a failure is told once, closing goes on.
    if (firstInstance_ && settings_.Get()->History) {
        history_.Start(folder_, HistoryLimitBytes(settings_.Get()->HistoryKB), [this] {
            tasks_.Post([this] {
                window_.ShowMessage(0, std::nullopt, std::string(kProgramCaption),
                                    std::string(kHistoryFailedText));
            });
        });
    }
    // 8.-11. The text area fills the window when no button shows (layout does it); the log
    // is empty; the list files are written when missing and loaded.
    std::string notice = listService_.PrepareRuleLists();
    const std::string classNotice = listService_.PrepareClassLists();
    if (!notice.empty() && !classNotice.empty()) notice += "\r\n";
    notice += classNotice;
    // Lines left out of a list are told once the loop runs, so the user can mend the file.
    if (firstInstance_ && !notice.empty()) tasks_.Post([this, notice] { ShowNotice(notice); });
    // 12. The engine's state between ticks.
    watcher_.Reset();
    // 13.-15.
    window_.SetCaption(std::string(kProgramCaption));
    tray_.SetTip(std::string(kVersionLine));
    window_.ClearWasForeground();
    window_.SetOuterSize(settings_.Get()->SavedWidth, settings_.Get()->SavedHeight);
    window_.SetInitialised();
}

void Application::ApplyButtonsGroup() {
    const auto run = settings_.Get();
    window_.SetButtonVisible(kBtCopy, run->CopyVisible);
    window_.SetButtonVisible(kBtClose, run->CloseVisible);
    window_.SetButtonVisible(kBtExit, run->ExitVisible);
    window_.SetBorder(run->Border);
}

void Application::ApplyMainFormSettings() {
    ApplyButtonsGroup();
    const auto run = settings_.Get();
    const BackgroundChange background = BackgroundOf(*run);
    if (background.kind == BackgroundKind::ButtonFace) {
        window_.SetBackground(GetSysColor(COLOR_BTNFACE));
    } else if (background.kind == BackgroundKind::Rgb) {
        window_.SetBackground(background.rgb);
    }
    if (background.textAreaFollows) window_.SetTextBackgroundToForm();
    if (const auto text = TextColorFromSetting(run->TextColor)) window_.SetTextColor(*text);
    watcher_.SetScannerPeriod(static_cast<UINT>(run->ScannerPeriod));
}

void Application::StartWatcher() {
    watcher_.Start(settings_.Get()->WindowEvents);
}

void Application::StopWatcher() {
    watcher_.Stop();
}

void Application::StopBackgroundWork() {
    StopWatcher();
    spy_.Stop();
    window_.StopCountdownTimer();
    listWatch_.Stop();
}

void Application::Exit() {
    if (exitPending_) return;
    StopBackgroundWork();
    window_.RemoveCloseHandler();
    // The window keys now, while the message window can still tell a failed write; its
    // notice stays up for the message time before the program ends.
    if (WriteShutdownKeys(true)) {
        PostMessageA(appWindow_.Window(), WM_CLOSE, 0, 0);
    } else {
        exitPending_ = true;
        SetTimer(appWindow_.Window(), kExitLaterTimer,
                 static_cast<UINT>(settings_.Get()->MessageTime + 1) * 1000u, nullptr);
    }
}

bool Application::WriteShutdownKeys(bool tell) {
    if (shutdownKeysWritten_) return true;
    shutdownKeysWritten_ = true;
    // The dialog's position as it is now (or was when its window went).
    const ScreenPoint setup = dialog_.Position();
    settings_.Update([&](MainSettings& s) {
        s.SetupLeft = setup.x;
        s.SetupTop = setup.y;
    });
    return StoreSettings(WriteGroup::kShutdown, tell);
}

bool Application::StoreSettings(WriteGroup group, bool tell) {
    SetLastError(0);
    if (settings_.Write(group)) return true;
    if (tell) {
        const std::string reason = SystemErrorText(GetLastError());
        ShowNotice("Could not write " + settings_.Path() + (reason.empty() ? "." : ": " + reason) +
                   "\r\nThe settings stay in force until Vantor exits.");
    }
    return false;
}

void Application::ShowNotice(const std::string& text) {
    window_.ShowMessage(0, std::nullopt, std::string(kProgramCaption), text);
}

void Application::OnMainFormDestroyed() {
    if (destroyed_) return;
    destroyed_ = true;
    // Also reached when the session ends without Exit: the timers stop before anything
    // their handlers use goes away. A tick blocked in another program is not waited for
    // beyond a bound; the lists and the log are kept until the process ends.
    StopBackgroundWork();
    const DWORD start = GetTickCount();
    watcher_.Shutdown(1500);
    WaitForIdleTimers(1500 - std::min<DWORD>(1500, GetTickCount() - start));
    history_.Stop(2000);
    // Done at Exit already; here when the session ends without it.
    WriteShutdownKeys(false);
    tray_.Remove();
}

int RunApplication(HINSTANCE instance) {
    // A script's word for the running instance starts none.
    if (const auto command = InstanceCommandOf(SplitCommandLine(GetCommandLineA()))) {
        ExitProcess(static_cast<UINT>(RunInstanceCommand(*command)));
    }
    // Never deleted: a timer tick may still be running in another program's window when the
    // loop ends; the process exit ends it.
    auto* app = new Application(instance);
    const int code = app->Run();
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace vantor
