// Vantor.ini: the one settings file beside the executable, section "Main", and the run-time
// settings that come from it. Every read and write goes straight to the file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/colors.h"
#include "shell/profile.h"

namespace vantor {

inline constexpr std::string_view kSettingsFileName = "Vantor.ini";
inline constexpr std::string_view kSettingsSection = "Main";
// Written at the first start; no line end after the last line, which is only a comment.
inline constexpr std::string_view kDefaultSettingsContent =
    "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5";

// The keys of section "Main".
inline constexpr std::string_view kKeyLanguage = "Language";
inline constexpr std::string_view kKeyCopyVisible = "btCopy.Visible";
inline constexpr std::string_view kKeyCloseVisible = "btClose.Visible";
inline constexpr std::string_view kKeyIsTimer = "IsTimer";
inline constexpr std::string_view kKeyExitVisible = "btExit.Visible";
inline constexpr std::string_view kKeyBorder = "cbBorder";
inline constexpr std::string_view kKeyMessageTransparent = "MessageTransparent";
inline constexpr std::string_view kKeyMessageTime = "MessageTime";
inline constexpr std::string_view kKeyNoCenter = "NoCenter";
inline constexpr std::string_view kKeyColor = "Color";
inline constexpr std::string_view kKeyTextColor = "TextColor";
inline constexpr std::string_view kKeyWidth = "Width";
inline constexpr std::string_view kKeyHeight = "Height";
inline constexpr std::string_view kKeySetupLeft = "fmSetup.Left";
inline constexpr std::string_view kKeySetupTop = "fmSetup.Top";
inline constexpr std::string_view kKeyAutoclose = "cbAutoclose";
inline constexpr std::string_view kKeyClose = "cbClose";
inline constexpr std::string_view kKeyChangeCase = "cbChangeCase";
inline constexpr std::string_view kKeyChangeCaseFirst = "cbChangeCaseFirst";
inline constexpr std::string_view kKeySelectAll = "cbSelectAll";
inline constexpr std::string_view kKeyCloseYesNo = "cbCloseYesNo";
// 0 turns off the early look at other programs' new windows between the ticks (default 1).
inline constexpr std::string_view kKeyWindowEvents = "WindowEvents";

// The full path of Vantor.ini in a folder (with or without its trailing separator).
std::string SettingsPathIn(std::string_view folder);

// Writes Vantor.ini with its default content when the folder has none. True when it wrote.
bool WriteDefaultSettingsIfMissing(std::string_view folder);

// The program's handle on the settings file. It stays in read mode; a group of writes
// switches it to write mode (SettingsWriteScope) and back. Writes made in read mode are
// refused (false) so that a stray write cannot slip into the user's file.
class SettingsFile {
  public:
    enum class Mode { Read, Write };

    explicit SettingsFile(std::string path, std::string section = std::string(kSettingsSection))
        : file_(std::move(path)), section_(std::move(section)) {}

    const std::string& Path() const { return file_.Path(); }
    const std::string& Section() const { return section_; }
    Mode CurrentMode() const { return mode_; }
    void SetMode(Mode mode) { mode_ = mode; }

    // Booleans read as numbers: any non-zero number is true ("2" true, "true" false).
    bool ReadBool(std::string_view key, bool def) const;
    std::int32_t ReadInt(std::string_view key, std::int32_t def) const;
    // Cut to 4095 bytes, as through the system's 4096-character buffer.
    std::string ReadText(std::string_view key, std::string_view def = {}) const;

    bool WriteBool(std::string_view key, bool value);  // "1" or "0"
    bool WriteInt(std::string_view key, std::int32_t value);
    bool WriteText(std::string_view key, std::string_view value);

  private:
    ProfileFile file_;
    std::string section_;
    Mode mode_ = Mode::Read;
};

// Write mode for the lifetime of the scope, read mode again afterwards.
class SettingsWriteScope {
  public:
    explicit SettingsWriteScope(SettingsFile& file) : file_(file) {
        file_.SetMode(SettingsFile::Mode::Write);
    }
    ~SettingsWriteScope() { file_.SetMode(SettingsFile::Mode::Read); }
    SettingsWriteScope(const SettingsWriteScope&) = delete;
    SettingsWriteScope& operator=(const SettingsWriteScope&) = delete;

  private:
    SettingsFile& file_;
};

// The run-time settings of the main form, with their built-in defaults. The owner keeps the
// live IsTimer where the countdown (timer thread) can read it safely.
struct RunSettings {
    std::int32_t MessageTime = 4;           // seconds the message window stays up
    std::int32_t MessageTransparent = 222;  // opacity, low eight bits (see OpacityOf)
    bool NoCenter = true;                   // lower right corner rather than centred
    bool IsTimer = false;                   // the Close button counts the seconds down
    std::int32_t SavedWidth = 230;
    std::int32_t SavedHeight = 100;
    bool CopyVisible = false;
    bool CloseVisible = false;
    bool ExitVisible = false;
    bool Border = true;                      // border and caption bar of the message window
    BackgroundChange Background;             // from "Color", then the command line
    std::optional<std::uint32_t> TextColor;  // from "TextColor"; nothing keeps the default
    std::int32_t ScannerPeriod = 50;         // milliseconds
    bool WindowEvents = true;                // new windows are looked at as they appear
};

// The main-form keys, in the program's order: "btCopy.Visible", "btClose.Visible", "IsTimer",
// "btExit.Visible", "cbBorder", "MessageTransparent", "MessageTime", "NoCenter", "IsTimer",
// "Color", "TextColor". Absent keys keep the values settings already holds.
void ReadMainFormKeys(const SettingsFile& file, RunSettings& settings);
// The watcher's own key, "WindowEvents", read after the main-form keys.
void ReadWatcherKeys(const SettingsFile& file, RunSettings& settings);
// "Width" and "Height" into SavedWidth and SavedHeight (read at the end of start-up).
void ReadSavedSize(const SettingsFile& file, RunSettings& settings);

// What the settings dialog loads and stores. The defaults are the controls as created.
struct DialogSettings {
    std::string Language;
    std::int32_t Left = 567;
    std::int32_t Top = 105;
    bool Autoclose = true;
    std::int32_t Close = 0;  // 0 only auto, 1 click, 2 double click, 3 right click
    bool ChangeCase = false;
    bool ChangeCaseFirst = false;
    bool SelectAll = false;
    bool CloseYesNo = false;
    // Mirrors of the message window, stored on OK.
    bool CopyVisible = false;
    bool CloseVisible = false;
    bool IsTimer = false;
    bool ExitVisible = false;
    bool Border = true;
};

// "Language", "fmSetup.Left", "fmSetup.Top", "cbAutoclose", "cbClose", "cbChangeCase",
// "cbChangeCaseFirst", "cbSelectAll", "cbCloseYesNo"; absent keys keep dialog's values.
void ReadDialogKeys(const SettingsFile& file, DialogSettings& dialog);
// OK in the dialog: "cbAutoclose", "cbChangeCase", "cbChangeCaseFirst", "cbSelectAll",
// "cbCloseYesNo", "cbClose", "btCopy.Visible", "btClose.Visible", "IsTimer", "btExit.Visible",
// "cbBorder", as one group of writes. False when any write failed.
bool WriteDialogOk(SettingsFile& file, const DialogSettings& dialog);
// The language choice, written at once.
bool WriteLanguage(SettingsFile& file, std::string_view language);
// Shutdown: "Width", "Height", "fmSetup.Left", "fmSetup.Top".
bool WriteShutdownKeys(SettingsFile& file, std::int32_t width, std::int32_t height,
                       std::int32_t setupLeft, std::int32_t setupTop);

}  // namespace vantor
