// The five options the watcher reads on every tick, taken from the settings in force: a
// check box clicked in the settings dialog changes them at once (SettingsStore::Update),
// before OK writes them. Read on the timer thread, changed on the GUI thread.
#pragma once

#include "settings/settings_store.h"
#include "watcher/message_sink.h"

namespace vantor {

class SettingsLiveOptions : public LiveOptions {
  public:
    explicit SettingsLiveOptions(const SettingsStore& settings) : settings_(settings) {}
    bool Autoclose() const override { return settings_.Get()->Autoclose; }
    bool ChangeCase() const override { return settings_.Get()->ChangeCase; }
    bool ChangeCaseFirst() const override { return settings_.Get()->ChangeCaseFirst; }
    bool SelectAll() const override { return settings_.Get()->SelectAll; }
    bool CloseYesNo() const override { return settings_.Get()->CloseYesNo; }

  private:
    const SettingsStore& settings_;
};

}  // namespace vantor
