// The settings in force: section "Main" read once at start-up, the command line over it, and
// every change since (a live option clicked, OK, the language, the message window's size).
// Readers on any thread take the snapshot; the GUI thread changes it, and writes groups of
// groups of keys (WriteGroup, named in the settings table) to Vantor.ini from it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/shared_snapshot.h"
#include "settings/main_settings.h"
#include "settings/settings.h"

namespace vantor {

class SettingsStore {
  public:
    SettingsStore() : file_(std::string()) {}

    // Reads the file once; a missing or unreadable file gives the defaults.
    void Load(std::string path);
    const std::string& Path() const { return file_.Path(); }

    std::shared_ptr<const MainSettings> Get() const { return current_.Get(); }
    // Changes the settings in force without writing anything.
    template <class Change>
    void Update(Change&& change) {
        current_.Update(std::forward<Change>(change));
    }
    // Writes the group's keys, in the table's order, from the settings in force (one replace
    // of the file). False when they could not be written; the file is never replaced by one
    // that lost the user's other lines (see SettingsFile).
    bool Write(WriteGroup group);
    // Update, then Write: the usual way a change is stored.
    template <class Change>
    bool Write(WriteGroup group, Change&& change) {
        Update(std::forward<Change>(change));
        return Write(group);
    }

  private:
    SettingsFile file_;
    SharedSnapshot<MainSettings> current_;
};

}  // namespace vantor
