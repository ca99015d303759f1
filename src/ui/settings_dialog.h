// The settings dialog (fmSetup) as data: its control ids and which check box stands for which
// setting, and whether a click acts at once or only on OK. The window is
// settings_dialog_win32.h; the application loads it and carries OK out (app_setup_win32.cpp).
//
// The five options the watcher reads on every tick (cbAutoclose, cbChangeCase,
// cbChangeCaseFirst, cbSelectAll, cbCloseYesNo) change the settings in force the moment they
// are clicked, before OK, and stay so after Cancel; OK stores them. The "Buttons" group acts on
// the message window only on OK. cbClose only shows the stored choice (its group is disabled)
// and OK stores it back.
#pragma once

#include <span>

#include "settings/main_settings.h"

namespace vantor {

// Control ids of the settings dialog, in creation (and tab) order.
enum SetupControlId : int {
    kSetupPagerLink = 2001,
    kSetupMailLink,
    kSetupWebLink,
    kGbMain,
    kLbLanguage,
    kCheckAutoRun,
    kCheckAutoclose,
    kComboLanguage,
    kGbKeyboard,
    kCheckChangeCase,
    kCheckChangeCaseFirst,
    kCheckSelectAll,
    kCheckCloseYesNo,
    kGbMessages,
    kLbCloseOn,
    kComboCloseOn,
    kGbButtons,
    kCheckBtCopy,
    kCheckBtClose,
    kCheckBtTimer,
    kCheckBtExit,
    kCheckBorder,
    kBtOK,
    kBtCancel,
    kBtHelp,
};

struct SetupCheckDef {
    int id;
    bool MainSettings::*setting;
    bool live;  // a click changes the setting in force at once; otherwise OK does
};

// Every check box that stands for a setting ("IsTimer" for cbbtTimer: the check state is what
// OK stores; what is in force is TimerInForce).
std::span<const SetupCheckDef> SetupCheckBoxes();
const SetupCheckDef* FindSetupCheck(int id);

// A click on a check box: true when it changed the settings in force at once.
bool ApplyLiveClick(int id, bool checked, MainSettings& settings);

// OK's "IsTimer" in force: the timer shows only when its box is checked and enabled (the
// Close button is on).
inline bool TimerInForce(bool timerChecked, bool timerEnabled) {
    return timerChecked && timerEnabled;
}

}  // namespace vantor
