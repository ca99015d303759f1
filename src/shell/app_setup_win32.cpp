// The settings dialog in the application: its creation and load at start, OK, the language
// list and the languages, the About text and the help topics.
#include "lang/about.h"
#include "lang/language_file.h"
#include "shell/application_win32.h"
#include "shell/autorun.h"
#include "shell/autorun_win32.h"
#include "shell/help_win32.h"
#include "ui/placement.h"

namespace vantor {

void Application::CreateSetupDialog() {
    dialog_.Create(instance_, appWindow_.Window(), mainIcon_, texts_.Captions());
    dialog_.SetHooks({[this] { OnSetupOk(); }, [this](unsigned topic) { OpenHelp(topic); },
                      [this] { OnLanguageListOpening(); }, [this] { OnLanguageListClosed(); },
                      [this](bool on) { return SetAutorunShown(on); }});
}

void Application::LoadSetupState() {
    // 1. The language the settings name; 2. the start text in its words.
    ApplyLanguageNamed(settings_.Get()->Language);
    window_.SetText(texts_.Get()->ssNotAutoClosed);
    // 3. Autorun shows on when the Run value names this very program.
    dialog_.SetChecked(kCheckAutoRun, AutorunIsOn(ReadRunValue(), executable_));
    // 4. The stored position, pulled back onto the screen with the dialog's real outer size.
    const auto settings = settings_.Get();
    const SIZE size = dialog_.OuterSize();
    dialog_.MoveTo(ClampToScreen({settings->SetupLeft, settings->SetupTop}, size.cx, size.cy,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    // 5.-8. The check boxes: the live options and "Close on" as stored, the Buttons group as
    // the message window shows it (command-line words included): all the settings in force.
    dialog_.LoadChecks(*settings);
    // 9. The watcher, now that what it reads exists. A second start is on its way out: it must
    // not close anybody's dialogs meanwhile.
    if (firstInstance_) StartWatcher();
}

void Application::ApplyLanguageNamed(const std::string& name) {
    const AppliedLanguage applied = texts_.Read(name, CurrentCaptions());
    dialog_.SetComboItems(kComboLanguage, {applied.listItem}, 0);
    if (applied.fromFile) ApplyTexts(applied.texts);
}

void Application::OnLanguageListOpening() {
    const LanguageList list = texts_.List(settings_.Get()->Language);
    dialog_.SetComboItems(kComboLanguage, list.items, list.selected);
}

void Application::OnLanguageListClosed() {
    const int index = dialog_.ComboSelection(kComboLanguage);
    const LanguageChoice choice = ChooseLanguage(index, dialog_.ComboItem(kComboLanguage, index));
    if (!choice.store) return;
    if (choice.restartNote) {
        // The texts on screen stay until the next start, which has no language.
        dialog_.SetControlText(kLbLanguage, std::string(kRestartNote));
    } else if (choice.apply) {
        ApplyLanguageNamed(choice.language);
    }
    settings_.Update([&](MainSettings& s) { s.Language = choice.language; });
    StoreSettings(WriteGroup::kLanguage);
}

void Application::OnSetupOk() {
    // The check boxes and "Close on" become the settings in force, "IsTimer" as checked: that
    // is what is stored. Then the Buttons group reaches the message window.
    settings_.Update([&](MainSettings& s) { dialog_.StoreChecks(s); });
    ApplyButtonsGroup();
    StoreSettings(WriteGroup::kOk);
    // The seconds show only while the Close button is on.
    const bool timer =
        TimerInForce(dialog_.Checked(kCheckBtTimer), dialog_.ControlEnabled(kCheckBtTimer));
    settings_.Update([&](MainSettings& s) { s.CloseButtonCountdown = timer; });
    PostMessageA(dialog_.Window(), WM_CLOSE, 0, 0);
}

void Application::ShowAbout() {
    // Shown like "Last message"; the caption stays and the log is not touched.
    window_.SetText(AboutText(folder_, settings_.Get()->Language));
    window_.ShowAtCorner();
}

bool Application::SetAutorunShown(bool on) {
    return SetAutorun(on, executable_) ? on : AutorunIsOn(ReadRunValue(), executable_);
}

void Application::OpenHelp(unsigned topic) {
    OpenHelpTopic(appWindow_.Window(), texts_.HelpFile(), folder_, topic);
}

}  // namespace vantor
