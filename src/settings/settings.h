// Vantor.ini: the one settings file beside the executable, section "Main". Every read and
// write goes straight to the file; the keys and what the program keeps of them are in
// main_settings.h and settings_store.h.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/profile.h"

namespace vantor {

inline constexpr std::string_view kSettingsFileName = "Vantor.ini";
inline constexpr std::string_view kSettingsSection = "Main";
// Written at the first start; no line end after the last line, which is only a comment.
inline constexpr std::string_view kDefaultSettingsContent =
    "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5";

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

    // Several keys in their order with one replace of the file; false when any failed.
    bool WriteGroup(std::span<const ProfileEntry> entries);

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

}  // namespace vantor
