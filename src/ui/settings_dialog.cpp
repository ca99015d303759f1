#include "ui/settings_dialog.h"

namespace vantor {

namespace {

using M = MainSettings;

constexpr SetupCheckDef kChecks[] = {
    {kCheckAutoclose, &M::Autoclose, true},
    {kCheckChangeCase, &M::ChangeCase, true},
    {kCheckChangeCaseFirst, &M::ChangeCaseFirst, true},
    {kCheckSelectAll, &M::SelectAll, true},
    {kCheckCloseYesNo, &M::CloseYesNo, true},
    {kCheckBtCopy, &M::CopyVisible, false},
    {kCheckBtClose, &M::CloseVisible, false},
    {kCheckBtTimer, &M::CloseButtonCountdown, false},
    {kCheckBtExit, &M::ExitVisible, false},
    {kCheckBorder, &M::Border, false},
};

}  // namespace

std::span<const SetupCheckDef> SetupCheckBoxes() {
    return kChecks;
}

const SetupCheckDef* FindSetupCheck(int id) {
    for (const SetupCheckDef& def : kChecks) {
        if (def.id == id) return &def;
    }
    return nullptr;
}

bool ApplyLiveClick(int id, bool checked, MainSettings& settings) {
    const SetupCheckDef* def = FindSetupCheck(id);
    if (!def || !def->live) return false;
    settings.*def->setting = checked;
    return true;
}

}  // namespace vantor
