#include "forms/folder_watch_win32.h"

#include <atomic>

#include "forms/fault_note.h"

namespace vantor {

// Owned together by the watch, its worker and every check handed over, so that whichever
// lets go last closes the handles: none of them can outlive what it uses.
struct FolderWatch::Shared {
    HANDLE change = INVALID_HANDLE_VALUE;
    HANDLE stop = nullptr;  // manual reset: once set, every wait of the worker ends
    HANDLE done = nullptr;  // auto reset: the GUI thread has run the check handed over
    UiTaskQueue* tasks = nullptr;
    Check check;
    bool stopped = false;  // GUI thread only
    std::atomic<bool> again{false};

    ~Shared() {
        if (change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change);
        if (stop) CloseHandle(stop);
        if (done) CloseHandle(done);
    }

    // Hands one check to the GUI thread and waits until it has run there; false when the
    // watch was stopped meanwhile.
    bool HandOverAndWait(const std::shared_ptr<Shared>& self) {
        const bool posted = tasks->Post([self] {
            if (self->stopped) return;
            // The worker waits for done: it is set whatever the check does.
            self->again = false;
            RunGuarded("the check of the list files", [&] { self->again = self->check(); });
            SetEvent(self->done);
        });
        if (!posted) {
            again = true;  // the queue was full: the change is not lost, only delayed
            return WaitForSingleObject(stop, kRetryMs) == WAIT_TIMEOUT;
        }
        const HANDLE waits[2] = {stop, done};
        return WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
    }
};

bool FolderWatch::Start(const std::string& folder, UiTaskQueue& tasks, Check check) {
    if (shared_) return false;
    auto shared = std::make_shared<Shared>();
    shared->change =
        FindFirstChangeNotificationA(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
    shared->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    shared->done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    shared->tasks = &tasks;
    shared->check = std::move(check);
    if (shared->change == INVALID_HANDLE_VALUE || !shared->stop || !shared->done) return false;
    auto* parameter = new std::shared_ptr<Shared>(shared);
    thread_ = CreateThread(nullptr, 0, &FolderWatch::Worker, parameter, 0, nullptr);
    if (!thread_) {
        delete parameter;
        return false;
    }
    shared_ = std::move(shared);
    return true;
}

void FolderWatch::Stop() {
    if (!shared_) return;
    shared_->stopped = true;
    SetEvent(shared_->stop);
    // The worker waits only on its own events, so it ends at once; the bound is against
    // the unforeseen, and a worker still running then keeps what it uses alive itself.
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    thread_ = nullptr;
    shared_.reset();
}

DWORD WINAPI FolderWatch::Worker(LPVOID parameter) {
    const std::shared_ptr<Shared> shared =
        std::move(*static_cast<std::shared_ptr<Shared>*>(parameter));
    delete static_cast<std::shared_ptr<Shared>*>(parameter);
    // An error ends a round of the watch, never the watch: it goes on unless it was stopped.
    while (!RunGuarded("the folder watch", [&] { WatchLoop(*shared, shared); }) &&
           WaitForSingleObject(shared->stop, kRetryMs) == WAIT_TIMEOUT) {
    }
    return 0;
}

void FolderWatch::WatchLoop(Shared& watch, const std::shared_ptr<Shared>& shared) {
    DWORD timeout = INFINITE;
    int retries = 0;
    for (;;) {
        // The stop event comes first, so it wins when both are signalled.
        const HANDLE waits[2] = {watch.stop, watch.change};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, timeout);
        const bool changed = woke == WAIT_OBJECT_0 + 1;
        if (!changed && woke != WAIT_TIMEOUT) break;  // stopped, or the wait failed
        if (!watch.HandOverAndWait(shared)) break;
        // Changes made while the check ran are kept by the system and signal at once.
        if (changed && !FindNextChangeNotification(watch.change)) break;
        // A new change earns a new round of retries.
        retries = !watch.again ? 0 : changed ? 1 : retries + 1;
        timeout = watch.again && retries <= kMaxRetries ? kRetryMs : INFINITE;
    }
}

}  // namespace vantor
