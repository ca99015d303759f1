// The five options the watcher reads on every tick. Until the settings dialog owns them they
// are read from their settings keys at start; set on the GUI thread, read on the timer thread.
#pragma once

#include <atomic>

#include "ui/message_sink.h"

namespace vantor {

class LiveOptionsStore : public LiveOptions {
  public:
    bool Autoclose() const override { return autoclose.load(); }
    bool ChangeCase() const override { return changeCase.load(); }
    bool ChangeCaseFirst() const override { return changeCaseFirst.load(); }
    bool SelectAll() const override { return selectAll.load(); }
    bool CloseYesNo() const override { return closeYesNo.load(); }

    std::atomic<bool> autoclose{true};
    std::atomic<bool> changeCase{false};
    std::atomic<bool> changeCaseFirst{false};
    std::atomic<bool> selectAll{false};
    std::atomic<bool> closeYesNo{false};
};

}  // namespace vantor
