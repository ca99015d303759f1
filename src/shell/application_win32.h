// The running program's objects and who owns them (the application's own header; the rest
// of the program sees app_win32.h). Start-up and shutdown are in app_win32.cpp; the one
// dispatcher of the program's commands and the texts step are in app_commands_win32.cpp.
#pragma once

#include <windows.h>

#include <atomic>
#include <span>
#include <string>
#include <string_view>

#include "forms/folder_watch_win32.h"
#include "forms/form_win32.h"
#include "forms/mm_timer_win32.h"
#include "forms/ui_task_win32.h"
#include "lang/run_texts.h"
#include "lang/text_table.h"
#include "lists/list_files.h"
#include "lists/list_service.h"
#include "settings/settings_store.h"
#include "shell/program_texts_win32.h"
#include "shell/tray_win32.h"
#include "ui/gui_message_sink_win32.h"
#include "ui/history_writer_win32.h"
#include "ui/links.h"
#include "ui/live_options_store.h"
#include "ui/menus.h"
#include "ui/message_log.h"
#include "ui/message_window_win32.h"
#include "ui/settings_dialog_win32.h"
#include "ui/spy_runner_win32.h"
#include "watcher/watcher_win32.h"

namespace vantor {

// The hidden application window: parent of the forms, target of the tray icon's callback.
class AppWindow : public Form {
  public:
    struct Hooks {
        void (*trayMouse)(void* context, UINT mouseMessage);
        void (*endSession)(void* context);
        void* context;
    };
    bool Create(HINSTANCE instance, HICON icon, TrayIcon* tray, Hooks hooks);

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    TrayIcon* tray_ = nullptr;
    Hooks hooks_{};
};

class Application {
  public:
    explicit Application(HINSTANCE instance);
    int Run();

  private:
    // Start-up and shutdown (app_win32.cpp).
    void CreateMainForm();
    void InitialiseMainForm();
    void ApplyMainFormSettings();
    void ApplyButtonsGroup();
    void StartWatcher();
    void StopWatcher();  // Disable, and the shutdown
    // Every timer, the spy, the countdown and the folder watch; a sleeping tick wakes.
    void StopBackgroundWork();
    void Exit();
    void OnMainFormDestroyed();
    // The window keys (size, the dialog's place), once per run; a failure is told only when
    // tell is set (at Exit, while the message window can still say it).
    bool WriteShutdownKeys(bool tell);
    // Writes the keys from the settings in force. A failure (read-only file or folder, full
    // disk) is told in the message window with the file and the system's reason; the
    // settings stay in force for this run either way.
    bool StoreSettings(WriteGroup group, bool tell = true);
    // A notice of the program's own in the message window at the corner, caption "Vantor".
    void ShowNotice(const std::string& text);

    // The settings dialog, languages, About and help (app_setup_win32.cpp).
    void CreateSetupDialog();
    void LoadSetupState();
    void ApplyLanguageNamed(const std::string& name);
    void OnLanguageListOpening();
    void OnLanguageListClosed();
    void OnSetupOk();
    bool SetAutorunShown(bool on);
    void ShowAbout();
    void OpenHelp(unsigned topic);

    // Commands and texts (app_commands_win32.cpp).
    // Every command of the program, from menus, accelerators, the tray icon and the message
    // window's buttons, runs here; GUI thread.
    void Dispatch(MenuCommand command);
    void OpenTrayMenu();
    void ToggleDisable();
    // The second-start notice: the plain one, or a script's word (its answer returned).
    LRESULT OnSecondStart(WPARAM code);
    // The lists, the spy and links (app_lists_win32.cpp): the folder watch's check, the
    // additions from the message window, the Spy command, a quick click in the text.
    void StartListWatch();
    bool CheckChangedLists();
    void AddToList(ListKind kind);
    void OpenAdvancedList();
    void StartSpy();
    void OnTextMouse(TextMouse event);
    // The one step that changes texts: the run-time texts and every caption on screen
    // (the message window's buttons, existing or not yet, both menus and the dialog).
    void ApplyTexts(const LanguageTexts& texts);
    // The captions as they are now, the defaults of the next language.
    CaptionSet CurrentCaptions() const;

    HINSTANCE instance_;
    const std::string executable_;  // this program's full path, asked once
    UiTaskQueue tasks_;
    MessageLog log_;
    ProgramTexts texts_;  // captions, run-time texts, help file, languages
    SettingsStore settings_;
    SettingsLiveOptions options_;
    ProgramLists lists_;
    MessageWindow window_;
    SettingsDialog dialog_;
    HistoryWriter history_;  // History.txt, appended on a thread of its own
    GuiMessageSink sink_;
    // The window system, the scanner, the advanced list, the early look and their thread.
    Watcher watcher_;
    SpyRunner spy_;
    AppWindow appWindow_;
    Tray tray_;  // the icon, its menu and Disable
    HACCEL accelerators_ = nullptr;
    HICON mainIcon_ = nullptr;
    std::string folder_;
    // The list files: start-up, the reload after the user's edits, the second start and the
    // additions from the message window all go through it.
    ListService listService_;
    FolderWatch listWatch_;
    LinkClicks linkClicks_;
    bool firstInstance_ = false;
    bool destroyed_ = false;
    bool shutdownKeysWritten_ = false;
    bool exitPending_ = false;  // Exit waits for its notice of a failed write to be read
};

}  // namespace vantor
