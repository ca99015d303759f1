// The application's dispatcher: every command of the program, whichever way it comes, and
// the one step that changes the texts on screen.
#include "forms/popup_menu_win32.h"
#include "lang/help.h"
#include "shell/application_win32.h"
#include "shell/instance_command.h"

namespace vantor {

void Application::Dispatch(MenuCommand command) {
    switch (command) {
        // Paging over the log; the window only shows the page.
        case kCmdLastMessage:
            window_.ShowPage(log_.Last());
            break;
        case kCmdTrayPrevious:
        case kCmdPrevious:
            window_.ShowPage(log_.Previous(texts_.Get()->ssFirstMessage));
            break;
        case kCmdNext:
            window_.ShowPage(log_.Next(texts_.Get()->ssLastMessage));
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
        case kCmdToggleWindow:
            // Through the close request, which hides the window (and resets its Close caption).
            if (IsWindowVisible(window_.Window())) {
                PostMessageA(window_.Window(), WM_CLOSE, 0, 0);
            } else {
                window_.ShowPage(log_.Last());
            }
            break;
        case kCmdOpenTrayMenu:
            OpenTrayMenu();
            break;
        case kCmdSpy:
            StartSpy();
            break;
        case kCmdAddWhite:
            AddToList(ListKind::White);
            break;
        case kCmdAddBlack:
            AddToList(ListKind::Black);
            break;
        case kCmdAdvancedList:
            OpenAdvancedList();
            break;
        case kCmdCloseButton:
            spy_.Stop();
            window_.Hide();
            break;
        case kCmdSettings:
            dialog_.Show();
            break;
        case kCmdAbout:
            ShowAbout();
            break;
        case kCmdHelpTopic:
            OpenHelp(kTrayHelpTopic);
            break;
        case kCmdNone:
            break;
    }
}

void Application::OpenTrayMenu() {
    window_.SetKeepOnTop(false);
    tray_.OpenMenu(window_.Window());
}

void Application::ToggleDisable() {
    const bool disable = !tray_.Disabled();
    tray_.SetDisabled(disable);
    if (disable) {
        StopWatcher();
    } else {
        StartWatcher();
    }
}

LRESULT Application::OnSecondStart(WPARAM code) {
    // Anyone may send the notice: only the known plain codes act.
    const auto command = InstanceCommandFromCode(code);
    if (!command) return 0;
    switch (*command) {
        case InstanceCommand::kNotice: {
            // The second start's command line waits in its caption, unread: option words
            // given there change nothing here.
            const std::string notice = listService_.ReloadRuleLists();
            window_.SetText(texts_.Get()->ssVantorRunning);
            window_.UpdateScrollBar();
            window_.ShowPage(log_.Last());
            if (!notice.empty()) ShowNotice(notice);
            return 0;
        }
        case InstanceCommand::kDisable:
            if (!tray_.Disabled()) ToggleDisable();
            break;
        case InstanceCommand::kEnable:
            if (tray_.Disabled()) ToggleDisable();
            break;
        case InstanceCommand::kExit:
            // After the answer has gone back, as the tray menu's Exit.
            tasks_.Post([this] { Exit(); });
            break;
        case InstanceCommand::kStatus:
            break;
    }
    return static_cast<LRESULT>(InstanceAnswer(tray_.Disabled()));
}

void Application::ApplyTexts(const LanguageTexts& texts) {
    texts_.Set(texts);
    const CaptionSet& captions = texts_.Captions();
    window_.ApplyCaptions(captions);
    dialog_.ApplyCaptions(captions);
    tray_.ApplyCaptions(captions);
    RetextMenu(window_.TextMenu(), TextMenuItems(), captions);
}

CaptionSet Application::CurrentCaptions() const {
    CaptionSet current = texts_.Captions();  // the menus' items are as last applied
    window_.ReadCaptions(current);   // the buttons as they read now ("Close (3)" included)
    dialog_.ReadCaptions(current);
    return current;
}

}  // namespace vantor
