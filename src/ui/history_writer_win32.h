// Appends the history (ui/history.h) on a thread of its own, started with the first entry (an
// idle program keeps none): the watcher hands an entry over under a short lock and goes on, so
// a slow or failing disk never delays a close. Each entry is written and flushed as it comes,
// so a crash loses at most the one being written.
#pragma once

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "ui/history.h"

namespace vantor {

class HistoryWriter {
  public:
    HistoryWriter() = default;
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;
    ~HistoryWriter() { Stop(0); }

    // Begins writing `folder` + History.txt; `failed` runs (on the writer's thread) at the
    // first entry of the run that could not be written. GUI thread.
    void Start(const std::string& folder, std::uint64_t limitBytes, std::function<void()> failed);
    // Any thread: hands the action over with the local time of now; never waits for the disk.
    void Record(const DoneAction& action);
    // Writes what was handed over, waiting at most `waitMs`, and ends the thread. GUI thread.
    void Stop(DWORD waitMs);

  private:
    struct Item {
        LocalTime when;
        DoneAction action;
    };
    static DWORD WINAPI Worker(void* self);
    void Run();
    bool Write(const Item& item);
    void Failed();

    // More than this waiting means the disk does not keep up: further ones are dropped.
    static constexpr std::size_t kMaxWaiting = 256;

    std::string path_;
    std::string oldPath_;
    std::uint64_t limit_ = 0;
    std::function<void()> failed_;
    std::atomic<bool> told_{false};
    std::atomic<bool> running_{false};
    HANDLE thread_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Item> waiting_;
    bool stop_ = false;
};

}  // namespace vantor
