#include "ui/history_writer_win32.h"

#include "base/file_io.h"
#include "base/paths.h"

namespace vantor {
namespace {

// The file name of the program that runs as `processId`; "?" when it cannot be read (it
// has ended, or it is not ours to ask).
std::string ProgramOf(std::uint32_t processId) {
    if (processId == 0) return ProgramFileName("");
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return ProgramFileName("");
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof(path);
    if (!QueryFullProcessImageNameA(process, 0, path, &size)) size = 0;
    CloseHandle(process);
    return ProgramFileName(std::string_view(path, size));
}

std::uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

void HistoryWriter::Start(const std::string& folder, std::uint64_t limitBytes,
                          std::function<void()> failed) {
    if (running_) return;
    path_ = JoinPath(folder, kHistoryFileName);
    oldPath_ = JoinPath(folder, kHistoryOldFileName);
    limit_ = limitBytes;
    failed_ = std::move(failed);
    stop_ = false;
    // The thread comes with the first entry: an idle program keeps no thread for it.
    running_ = true;
}

void HistoryWriter::Record(const DoneAction& action) {
    if (!running_) return;
    SYSTEMTIME t;
    GetLocalTime(&t);
    Item item{{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}, action};
    bool dropped = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_) return;
        if (!thread_) thread_ = CreateThread(nullptr, 0, &HistoryWriter::Worker, this, 0, nullptr);
        if (!thread_ || waiting_.size() >= kMaxWaiting) {
            dropped = true;
        } else {
            waiting_.push_back(std::move(item));
        }
    }
    if (dropped) {
        Failed();
    } else {
        wake_.notify_one();
    }
}

void HistoryWriter::Stop(DWORD waitMs) {
    running_ = false;
    HANDLE thread = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        thread = thread_;
        thread_ = nullptr;
    }
    if (!thread) return;
    wake_.notify_one();
    // A disk that hangs does not hold the exit: the process ends with the thread.
    WaitForSingleObject(thread, waitMs);
    CloseHandle(thread);
}

DWORD WINAPI HistoryWriter::Worker(void* self) {
    static_cast<HistoryWriter*>(self)->Run();
    return 0;
}

void HistoryWriter::Run() {
    for (;;) {
        Item item;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || !waiting_.empty(); });
            if (waiting_.empty()) return;  // stopping, and everything handed over is written
            item = std::move(waiting_.front());
            waiting_.pop_front();
        }
        if (!Write(item)) Failed();
    }
}

bool HistoryWriter::Write(const Item& item) {
    const std::string entry = FormatHistoryEntry(item.when, ProgramOf(item.action.processId),
                                                 item.action);
    if (ShouldRotateHistory(FileSize(path_), entry.size(), limit_) &&
        !MoveFileExA(path_.c_str(), oldPath_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        // Not renamed: the entry is not appended either, so the file keeps its bound.
        return false;
    }
    return AppendToFile(path_, entry);
}

void HistoryWriter::Failed() {
    if (told_.exchange(true)) return;
    if (failed_) failed_();
}

}  // namespace vantor
