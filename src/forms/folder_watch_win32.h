// Watches one folder, not its sub-folders, for files whose last-write time changes, and runs
// a check on the GUI thread for each change. A worker thread waits for the system's change
// notification, hands the check to the GUI thread and waits until it has run there, so
// checks never overlap and a burst of writes gives few checks. Stop ends the worker at once,
// also while it waits for a GUI thread that is busy in Exit.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "forms/ui_task_win32.h"

namespace vantor {

class FolderWatch {
  public:
    // Runs on the GUI thread, one call per change. True asks for another check soon without
    // a new change (a file the check needs was still held by its writer); the worker gives
    // up asking after kMaxRetries checks in a row that were not caused by a new change.
    using Check = std::function<bool()>;
    static constexpr DWORD kRetryMs = 200;
    static constexpr int kMaxRetries = 25;

    FolderWatch() = default;
    ~FolderWatch() { Stop(); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // GUI thread (the thread that runs `tasks`). False when the folder cannot be watched;
    // then no check ever runs. `tasks` must outlive the watch.
    bool Start(const std::string& folder, UiTaskQueue& tasks, Check check);
    // GUI thread. After it returns no check runs any more; a check handed over but not yet
    // run is dropped. Does nothing when the watch does not run.
    void Stop();
    bool Running() const { return shared_ != nullptr; }

  private:
    struct Shared;
    static DWORD WINAPI Worker(LPVOID parameter);
    // The worker's waits and hand-overs until the watch stops or its handle fails.
    static void WatchLoop(Shared& watch, const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
    HANDLE thread_ = nullptr;
};

}  // namespace vantor
