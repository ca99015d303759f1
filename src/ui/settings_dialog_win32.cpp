#include "ui/settings_dialog_win32.h"

#include "forms/dpi_win32.h"
#include "lang/help.h"

namespace vantor {

namespace {

// No minimize or maximize box, no sizing frame. Sizes and places of the controls are
// 96-DPI units; the form scales them to its monitor.
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kLeft = 567, kTop = 105, kClientWidth = 445, kClientHeight = 266;

constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kGroup = WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kLabel = WS_VISIBLE | SS_LEFTNOWORDWRAP;
constexpr DWORD kPush = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
// Non-editable and unsorted: items stay in the order they are added.
constexpr DWORD kList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_AUTOHSCROLL |
                        CBS_NOINTEGRALHEIGHT;
// A combo box's height holds its dropped list too: the closed field is 19 pixels at this font.
constexpr int kListHeight = 160;

using C = Caption;

// In creation order, which is the tab order. Positions in a group box count from its corner.
constexpr ControlDef kControls[] = {
    // The author's pager, mail and web links: personal contact data, so they stay empty.
    {kSetupPagerLink, "STATIC", kLabel, 16, 200, 0, 0, 0, C::kNone},
    {kSetupMailLink, "STATIC", kLabel, 16, 184, 0, 0, 0, C::kNone},
    {kSetupWebLink, "STATIC", kLabel, 16, 168, 0, 0, 0, C::kNone},
    {kGbMain, "BUTTON", kGroup, 4, 0, 214, 97, 0, C::gbMain},
    {kLbLanguage, "STATIC", kLabel, 8, 52, 0, 0, kGbMain, C::lbLanguage},
    {kCheckAutoRun, "BUTTON", kCheck, 8, 16, 0, 0, kGbMain, C::cbAutoRun},
    {kCheckAutoclose, "BUTTON", kCheck, 8, 34, 0, 0, kGbMain, C::cbAutoclose},
    {kComboLanguage, "COMBOBOX", kList, 8, 68, 193, kListHeight, kGbMain, C::kNone},
    {kGbKeyboard, "BUTTON", kGroup, 228, 0, 214, 97, 0, C::gbKeyboard},
    {kCheckChangeCase, "BUTTON", kCheck, 8, 16, 0, 0, kGbKeyboard, C::cbChangeCase},
    {kCheckChangeCaseFirst, "BUTTON", kCheck, 24, 34, 0, 0, kGbKeyboard, C::cbChangeCaseFirst},
    {kCheckSelectAll, "BUTTON", kCheck, 8, 52, 0, 0, kGbKeyboard, C::cbSelectAll},
    {kCheckCloseYesNo, "BUTTON", kCheck, 8, 72, 0, 0, kGbKeyboard, C::cbCloseYesNo},
    // Disabled with its controls: cbClose only shows the stored choice.
    {kGbMessages, "BUTTON", kGroup | WS_DISABLED, 4, 104, 214, 121, 0, C::gbMessages},
    {kLbCloseOn, "STATIC", kLabel, 8, 12, 0, 0, kGbMessages, C::lbCloseOn},
    {kComboCloseOn, "COMBOBOX", kList, 8, 28, 177, kListHeight, kGbMessages, C::cbCloseText},
    {kGbButtons, "BUTTON", kGroup, 228, 104, 214, 121, 0, C::gbButtons},
    {kCheckBtCopy, "BUTTON", kCheck, 8, 16, 0, 0, kGbButtons, C::cbbtCopy},
    {kCheckBtClose, "BUTTON", kCheck, 8, 34, 0, 0, kGbButtons, C::cbbtClose},
    {kCheckBtTimer, "BUTTON", kCheck, 24, 52, 0, 0, kGbButtons, C::cbbtTimer},
    {kCheckBtExit, "BUTTON", kCheck, 8, 72, 0, 0, kGbButtons, C::cbbtExit},
    {kCheckBorder, "BUTTON", kCheck, 8, 90, 0, 0, kGbButtons, C::cbBorder},
    {kBtOK, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 8, 242, 75, 25, 0, C::btOK},
    {kBtCancel, "BUTTON", kPush, 88, 242, 75, 25, 0, C::btCancel},
    {kBtHelp, "BUTTON", kPush, 366, 242, 75, 25, 0, C::btHelp},
};

constexpr Caption kCloseOnItems[] = {C::cbCloseItem0, C::cbCloseItem1, C::cbCloseItem2,
                                     C::cbCloseItem3};

}  // namespace

SettingsDialog::SettingsDialog(SettingsStore& settings) : settings_(settings) {}

bool SettingsDialog::Create(HINSTANCE instance, HWND owner, HICON icon,
                            const CaptionSet& captions) {
    // The place is in screen pixels; the size scales with the monitor the window is on.
    SIZE outer = OuterSizeForClient(kClientWidth, kClientHeight, kFormStyle, 0, SystemDpi());
    if (!CreateForm(instance, kSettingsDialogClass, captions[C::fmSetup].c_str(), kFormStyle, 0,
                    kLeft, kTop, outer.cx, outer.cy, owner, GetSysColorBrush(COLOR_BTNFACE),
                    icon)) {
        return false;
    }
    DialogOptions options;
    options.defaultButton = kBtOK;
    options.cancelButton = kBtCancel;
    options.helpContext = kSetupHelpTopic;
    options.title = C::fmSetup;
    SetControlTable(kControls, options);
    if (Dpi() != SystemDpi()) {
        outer = OuterSizeForClient(kClientWidth, kClientHeight, kFormStyle, 0, Dpi());
        SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    std::vector<std::string> closeOn;
    for (Caption item : kCloseOnItems) closeOn.push_back(captions[item]);
    SetComboItems(kComboCloseOn, closeOn, 0);
    // As created: "Autorun", "Autoclose" and "Border" checked, the rest not.
    SetChecked(kCheckAutoRun, true);
    SetChecked(kCheckAutoclose, true);
    SetChecked(kCheckBorder, true);
    ApplyCaptions(captions);
    return true;
}

void SettingsDialog::EnsureControls() {
    if (ControlsCreated()) return;
    CreateControls();
    HookControl(Control(kComboLanguage), &SettingsDialog::LanguageListHook, this);
}

bool SettingsDialog::LanguageListHook(void* context, HWND, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            // Refilled before the list drops down; the keyboard opens it as it is.
            auto* self = static_cast<SettingsDialog*>(context);
            if (self->hooks_.languageListOpening) self->hooks_.languageListOpening();
            break;
        }
        default:
            break;
    }
    return false;
}

void SettingsDialog::Show() {
    EnsureControls();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    // Activation gives the focus back to the last focused control (WM_ACTIVATE); the first
    // time it goes to the first control that takes it.
    if (!IsChild(window_, GetFocus())) {
        if (lastFocus_ && IsChild(window_, lastFocus_) && IsWindowEnabled(lastFocus_)) {
            SetFocus(lastFocus_);
        } else {
            MoveFocus(false);
        }
    }
}

void SettingsDialog::Hide() {
    ShowWindow(window_, SW_HIDE);
}

void SettingsDialog::LoadChecks(const MainSettings& settings) {
    for (const SetupCheckDef& def : SetupCheckBoxes()) SetChecked(def.id, settings.*def.setting);
    // An out-of-range choice shows no selection (and OK then stores -1).
    SetComboSelection(kComboCloseOn, settings.CloseOn);
}

void SettingsDialog::StoreChecks(MainSettings& settings) const {
    for (const SetupCheckDef& def : SetupCheckBoxes()) settings.*def.setting = Checked(def.id);
    settings.CloseOn = ComboSelection(kComboCloseOn);
}

ScreenPoint SettingsDialog::Position() const {
    RECT r = lastRect_;
    if (window_) GetWindowRect(window_, &r);
    return {r.left, r.top};
}

SIZE SettingsDialog::OuterSize() const {
    RECT r = lastRect_;
    if (window_) GetWindowRect(window_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void SettingsDialog::MoveTo(ScreenPoint position) {
    SetWindowPos(window_, nullptr, position.x, position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::ApplyCaptions(const CaptionSet& captions) {
    DialogForm::ApplyCaptions(captions);
    // The "Close on" items are re-texted in place; the choice stays.
    for (int i = 0; i < 4; ++i) SetComboItem(kComboCloseOn, i, captions[kCloseOnItems[i]]);
}

void SettingsDialog::ReadCaptions(CaptionSet& captions) const {
    DialogForm::ReadCaptions(captions);
    for (int i = 0; i < 4; ++i) captions[kCloseOnItems[i]] = ComboItem(kComboCloseOn, i);
}

void SettingsDialog::OnHelp(DWORD context) {
    if (hooks_.help) hooks_.help(context);
}

void SettingsDialog::OnCheckClicked(int id) {
    const bool checked = Checked(id);
    if (id == kCheckBtClose) SetControlEnabled(kCheckBtTimer, checked);
    // A value that could not be written or removed is not shown as done: the box shows what
    // the registry holds (the hook's answer). Nothing else is reported.
    if (id == kCheckAutoRun && hooks_.autorun) {
        if (const bool on = hooks_.autorun(checked); on != checked) SetChecked(kCheckAutoRun, on);
    }
    // The watcher reads the settings in force on every tick: this acts at once.
    if (const SetupCheckDef* def = FindSetupCheck(id); def && def->live) {
        settings_.Update([&](MainSettings& s) { ApplyLiveClick(id, checked, s); });
    }
}

void SettingsDialog::OnCommand(int id, int code) {
    if (id == kComboLanguage) {
        if (code == CBN_CLOSEUP && hooks_.languageListClosed) hooks_.languageListClosed();
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case kBtOK:
            if (hooks_.ok) hooks_.ok();
            break;
        case kBtCancel:
            // Nothing is reset: the next Show finds the controls as the user left them.
            PostMessageA(window_, WM_CLOSE, 0, 0);
            break;
        case kBtHelp:
            if (hooks_.help) hooks_.help(kSetupHelpTopic);
            break;
        default:
            OnCheckClicked(id);
            break;
    }
}

bool SettingsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            result = 0;
            return true;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(window_, focus)) lastFocus_ = focus;
                return false;
            }
            if (lastFocus_ && IsChild(window_, lastFocus_) && IsWindowVisible(window_)) {
                SetFocus(lastFocus_);
                result = 0;
                return true;
            }
            return false;
        case WM_CLOSE:
            // The title bar's close box, Alt+F4, OK and Cancel: hidden, never destroyed.
            Hide();
            result = 0;
            return true;
        case WM_DESTROY:
            GetWindowRect(window_, &lastRect_);
            return false;
        default:
            return DialogForm::HandleMessage(message, wParam, lParam, result);
    }
}

}  // namespace vantor
