#include "shell/settings.h"

#include "lists/file_io.h"
#include "lists/text.h"

namespace vantor {

std::string SettingsPathIn(std::string_view folder) {
    std::string path(folder);
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path += path.find('\\') != std::string::npos ? '\\' : '/';
    path += kSettingsFileName;
    return path;
}

bool WriteDefaultSettingsIfMissing(std::string_view folder) {
    const std::string path = SettingsPathIn(folder);
    if (FileExists(path)) return false;
    return WriteWholeFile(path, std::string(kDefaultSettingsContent));
}

bool SettingsFile::ReadBool(std::string_view key, bool def) const {
    return file_.ReadInt(section_, key, def ? 1 : 0) != 0;
}

std::int32_t SettingsFile::ReadInt(std::string_view key, std::int32_t def) const {
    return file_.ReadInt(section_, key, def);
}

std::string SettingsFile::ReadText(std::string_view key, std::string_view def) const {
    return file_.ReadString(section_, key, def, kProfileBufferSize);
}

bool SettingsFile::WriteBool(std::string_view key, bool value) {
    return WriteText(key, value ? "1" : "0");
}

bool SettingsFile::WriteInt(std::string_view key, std::int32_t value) {
    return WriteText(key, IntText(value));
}

bool SettingsFile::WriteText(std::string_view key, std::string_view value) {
    if (mode_ != Mode::Write) return false;
    return file_.WriteString(section_, key, value);
}

void ReadMainFormKeys(const SettingsFile& file, RunSettings& s) {
    s.CopyVisible = file.ReadBool(kKeyCopyVisible, s.CopyVisible);
    s.CloseVisible = file.ReadBool(kKeyCloseVisible, s.CloseVisible);
    s.IsTimer = file.ReadBool(kKeyIsTimer, s.IsTimer);
    s.ExitVisible = file.ReadBool(kKeyExitVisible, s.ExitVisible);
    s.Border = file.ReadBool(kKeyBorder, s.Border);
    s.MessageTransparent = file.ReadInt(kKeyMessageTransparent, s.MessageTransparent);
    s.MessageTime = file.ReadInt(kKeyMessageTime, s.MessageTime);
    s.NoCenter = file.ReadBool(kKeyNoCenter, s.NoCenter);
    s.IsTimer = file.ReadBool(kKeyIsTimer, s.IsTimer);
    MergeBackground(s.Background, ColorFromSetting(file.ReadText(kKeyColor)));
    if (const auto text = TextColorFromSetting(file.ReadText(kKeyTextColor))) s.TextColor = text;
}

void ReadWatcherKeys(const SettingsFile& file, RunSettings& s) {
    s.WindowEvents = file.ReadBool(kKeyWindowEvents, s.WindowEvents);
}

void ReadSavedSize(const SettingsFile& file, RunSettings& s) {
    s.SavedWidth = file.ReadInt(kKeyWidth, s.SavedWidth);
    s.SavedHeight = file.ReadInt(kKeyHeight, s.SavedHeight);
}

void ReadDialogKeys(const SettingsFile& file, DialogSettings& d) {
    d.Language = file.ReadText(kKeyLanguage, d.Language);
    d.Left = file.ReadInt(kKeySetupLeft, d.Left);
    d.Top = file.ReadInt(kKeySetupTop, d.Top);
    d.Autoclose = file.ReadBool(kKeyAutoclose, d.Autoclose);
    d.Close = file.ReadInt(kKeyClose, d.Close);
    d.ChangeCase = file.ReadBool(kKeyChangeCase, d.ChangeCase);
    d.ChangeCaseFirst = file.ReadBool(kKeyChangeCaseFirst, d.ChangeCaseFirst);
    d.SelectAll = file.ReadBool(kKeySelectAll, d.SelectAll);
    d.CloseYesNo = file.ReadBool(kKeyCloseYesNo, d.CloseYesNo);
}

bool WriteDialogOk(SettingsFile& file, const DialogSettings& d) {
    SettingsWriteScope scope(file);
    bool ok = file.WriteBool(kKeyAutoclose, d.Autoclose);
    ok = file.WriteBool(kKeyChangeCase, d.ChangeCase) && ok;
    ok = file.WriteBool(kKeyChangeCaseFirst, d.ChangeCaseFirst) && ok;
    ok = file.WriteBool(kKeySelectAll, d.SelectAll) && ok;
    ok = file.WriteBool(kKeyCloseYesNo, d.CloseYesNo) && ok;
    ok = file.WriteInt(kKeyClose, d.Close) && ok;
    ok = file.WriteBool(kKeyCopyVisible, d.CopyVisible) && ok;
    ok = file.WriteBool(kKeyCloseVisible, d.CloseVisible) && ok;
    ok = file.WriteBool(kKeyIsTimer, d.IsTimer) && ok;
    ok = file.WriteBool(kKeyExitVisible, d.ExitVisible) && ok;
    ok = file.WriteBool(kKeyBorder, d.Border) && ok;
    return ok;
}

bool WriteLanguage(SettingsFile& file, std::string_view language) {
    SettingsWriteScope scope(file);
    return file.WriteText(kKeyLanguage, language);
}

bool WriteShutdownKeys(SettingsFile& file, std::int32_t width, std::int32_t height,
                       std::int32_t setupLeft, std::int32_t setupTop) {
    SettingsWriteScope scope(file);
    bool ok = file.WriteInt(kKeyWidth, width);
    ok = file.WriteInt(kKeyHeight, height) && ok;
    ok = file.WriteInt(kKeySetupLeft, setupLeft) && ok;
    ok = file.WriteInt(kKeySetupTop, setupTop) && ok;
    return ok;
}

}  // namespace vantor
