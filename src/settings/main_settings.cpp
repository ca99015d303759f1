#include "settings/main_settings.h"

#include <algorithm>

#include "base/profile.h"
#include "base/text.h"
#include "settings/settings.h"

namespace vantor {

namespace {

using M = MainSettings;

using G = WriteGroup;

// The dialog's defaults are its controls as created: position 567, 105, "Autoclose"
// checked, the rest unchecked, "Only auto". A group's keys are written in this order.
constexpr SettingDef kTable[] = {
    {"MessageTransparent", &M::MessageTransparent, 222},
    {"MessageTime", &M::MessageTime, 4},
    {"NoCenter", &M::NoCenter, 1},
    {"Color", &M::Color, 0},
    {"TextColor", &M::TextColor, 0},
    {"Width", &M::SavedWidth, 230, G::kShutdown},
    {"Height", &M::SavedHeight, 100, G::kShutdown},
    {"Language", &M::Language, 0, G::kLanguage},
    {"fmSetup.Left", &M::SetupLeft, 567, G::kShutdown},
    {"fmSetup.Top", &M::SetupTop, 105, G::kShutdown},
    {"cbAutoclose", &M::Autoclose, 1, G::kOk},
    {"cbChangeCase", &M::ChangeCase, 0, G::kOk},
    {"cbChangeCaseFirst", &M::ChangeCaseFirst, 0, G::kOk},
    {"cbSelectAll", &M::SelectAll, 0, G::kOk},
    {"cbCloseYesNo", &M::CloseYesNo, 0, G::kOk},
    {"cbClose", &M::CloseOn, 0, G::kOk},
    {"btCopy.Visible", &M::CopyVisible, 0, G::kOk},
    {"btClose.Visible", &M::CloseVisible, 0, G::kOk},
    {"IsTimer", &M::CloseButtonCountdown, 0, G::kOk},
    {"btExit.Visible", &M::ExitVisible, 0, G::kOk},
    {"cbBorder", &M::Border, 1, G::kOk},
    // Not in the dialog: 0 turns off the early look at other programs' new windows.
    {"WindowEvents", &M::WindowEvents, 1},
    // Not in the dialog: History.txt beside the program, and its size in KiB.
    {"History", &M::History, 1},
    {"HistoryKB", &M::HistoryKB, 1024},
};

template <class... F>
struct Overload : F... {
    using F::operator()...;
};
template <class... F>
Overload(F...) -> Overload<F...>;

}  // namespace

MainSettings::MainSettings() {
    for (const SettingDef& def : kTable) {
        std::visit(Overload{[&](bool M::*f) { this->*f = def.def != 0; },
                            [&](std::int32_t M::*f) { this->*f = def.def; },
                            [&](std::string M::*f) { (this->*f).clear(); }},
                   def.field);
    }
}

SettingType TypeOf(const SettingDef& def) {
    return static_cast<SettingType>(def.field.index());
}

std::span<const SettingDef> MainSettingsTable() {
    return kTable;
}

std::vector<const SettingDef*> KeysOf(WriteGroup group) {
    std::vector<const SettingDef*> keys;
    for (const SettingDef& def : kTable) {
        if (def.group == group) keys.push_back(&def);
    }
    return keys;
}

const SettingDef* FindSetting(std::string_view key) {
    for (const SettingDef& def : kTable) {
        if (def.key == key) return &def;
    }
    return nullptr;
}

MainSettings ReadMainSettings(std::string_view bytes) {
    MainSettings s;
    for (const SettingDef& def : kTable) {
        std::visit(
            Overload{[&](bool M::*f) {
                         s.*f = ProfileGetInt(bytes, kSettingsSection, def.key, def.def) != 0;
                     },
                     [&](std::int32_t M::*f) {
                         s.*f = ProfileGetInt(bytes, kSettingsSection, def.key, def.def);
                     },
                     [&](std::string M::*f) {
                         s.*f = ProfileGetString(bytes, kSettingsSection, def.key, "");
                     }},
            def.field);
    }
    return s;
}

std::string SettingText(const MainSettings& s, const SettingDef& def) {
    return std::visit(Overload{[&](bool M::*f) { return std::string(s.*f ? "1" : "0"); },
                               [&](std::int32_t M::*f) { return IntText(s.*f); },
                               [&](std::string M::*f) { return s.*f; }},
                      def.field);
}

unsigned MessageSeconds(const MainSettings& s) {
    return static_cast<unsigned>(std::max(0, s.MessageTime));
}

BackgroundChange BackgroundOf(const MainSettings& s) {
    BackgroundChange change = ColorFromSetting(s.Color);
    MergeBackground(change, s.ColorOption);
    return change;
}

}  // namespace vantor
