#include "ui/settings_dialog.h"

namespace vantor {

namespace {

using M = MainSettings;

constexpr SetupCheckDef kChecks[] = {
    {kCbAutoclose, &M::Autoclose, true},
    {kCbChangeCase, &M::ChangeCase, true},
    {kCbChangeCaseFirst, &M::ChangeCaseFirst, true},
    {kCbSelectAll, &M::SelectAll, true},
    {kCbCloseYesNo, &M::CloseYesNo, true},
    {kCbbtCopy, &M::CopyVisible, false},
    {kCbbtClose, &M::CloseVisible, false},
    {kCbbtTimer, &M::IsTimer, false},
    {kCbbtExit, &M::ExitVisible, false},
    {kCbBorder, &M::Border, false},
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
