// Every key of section "Main" of Vantor.ini in one table: its name, its type and its built-in
// default, bound to one field of MainSettings. The program reads the section once, at start,
// into a MainSettings; SettingsStore then keeps the settings in force as a snapshot that
// every reader takes and writes keys back in the groups below.
//
// Types, as the file holds them:
//   boolean  "1" or "0"; read as a number, any non-zero number is true ("2" true, "true" false)
//   integer  decimal text; read as a number (see ProfileGetInt), 32-bit
//   text     read through a 4096-byte buffer, so at most 4095 bytes count
// A key that is absent, or whose value is empty, reads as its default.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/colors.h"

namespace vantor {

struct MainSettings {
    MainSettings();  // every key at its default from the table (not from the {} below)

    std::string Language{};             // "Language": base name of the language file
    bool CopyVisible{};                 // "btCopy.Visible": the message window's buttons
    bool CloseVisible{};                // "btClose.Visible"
    bool CloseButtonCountdown{};        // "IsTimer": the Close button counts the seconds down
    bool ExitVisible{};                 // "btExit.Visible"
    bool Border{};                      // "cbBorder": border and caption bar of the message window
    std::int32_t MessageTransparent{};  // opacity; only the low eight bits count (OpacityOf)
    std::int32_t MessageTime{};         // seconds the message window stays up (MessageSeconds)
    bool NoCenter{};                    // lower right corner rather than centred over the dialog
    std::string Color{};                // "Color" (ColorFromSetting)
    std::string TextColor{};            // "TextColor" (TextColorFromSetting)
    std::int32_t SavedWidth{};          // "Width": outer size of the message window
    std::int32_t SavedHeight{};         // "Height"
    std::int32_t SetupLeft{};           // "fmSetup.Left": the settings dialog's position
    std::int32_t SetupTop{};            // "fmSetup.Top"
    bool Autoclose{};                   // "cbAutoclose": the five options the watcher reads live
    std::int32_t CloseOn{};             // "cbClose": 0 only auto, 1 click, 2 double click, 3 right
    bool ChangeCase{};                  // "cbChangeCase"
    bool ChangeCaseFirst{};             // "cbChangeCaseFirst"
    bool SelectAll{};                   // "cbSelectAll"
    bool CloseYesNo{};                  // "cbCloseYesNo"
    bool WindowEvents{};                // "WindowEvents": new windows looked at as they appear
    bool History{};                     // "History": closed messages recorded in History.txt
    std::int32_t HistoryKB{};           // "HistoryKB": its size before History.old.txt

    // For this run only, from the command line; no key, never written.
    std::int32_t ScannerPeriod = 50;  // "timer=": milliseconds, 1 .. kMaxScannerPeriod
    BackgroundChange ColorOption;     // "color=" (Unchanged: none given)
};

// The longest scanner period "timer=" gives: one minute. The system's timers refuse periods
// of about a million milliseconds, which would leave the scanner silently stopped.
inline constexpr std::int32_t kMaxScannerPeriod = 60000;

enum class SettingType { kBool, kInt, kText };

// The groups of keys the program writes, each with one replace of the file.
enum class WriteGroup : std::uint8_t {
    kNone,      // never written by the program
    kOk,        // OK in the settings dialog
    kLanguage,  // a language picked in the settings dialog, at once
    kShutdown,  // the end of the run
};

using SettingField =
    std::variant<bool MainSettings::*, std::int32_t MainSettings::*, std::string MainSettings::*>;

struct SettingDef {
    std::string_view key;
    SettingField field;
    std::int32_t def;  // booleans 1 or 0; every text key defaults to the empty text
    WriteGroup group = WriteGroup::kNone;
};

SettingType TypeOf(const SettingDef& def);

// Every key; the keys of a write group in the order they are written.
std::span<const SettingDef> MainSettingsTable();
// The keys of a group, in the order they are written.
std::vector<const SettingDef*> KeysOf(WriteGroup group);
// The row of a key (exact name), or nullptr.
const SettingDef* FindSetting(std::string_view key);

// The section read from the file's bytes (empty for a missing file), every key of the table.
MainSettings ReadMainSettings(std::string_view fileBytes);

// A key's value as the file holds it ("1"/"0", decimal, text).
std::string SettingText(const MainSettings& settings, const SettingDef& def);

// Values as the program applies them; out-of-range values stay defined.
// The countdown's length: a negative MessageTime counts as 0 (hide at the first tick).
unsigned MessageSeconds(const MainSettings& settings);
// The background: "Color" first, then the command line's "color=".
BackgroundChange BackgroundOf(const MainSettings& settings);

}  // namespace vantor
