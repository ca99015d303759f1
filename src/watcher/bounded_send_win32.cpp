#include "watcher/bounded_send_win32.h"

#include <chrono>
#include <condition_variable>
#include <set>

namespace vantor {

void SendJob::Run() {
    WPARAM wp = wParam;
    LPARAM lp = lParam;
    if (kind == kTextIn) lp = reinterpret_cast<LPARAM>(textIn.c_str());
    if (kind == kTextOut) {
        wp = static_cast<WPARAM>(textOut.size());
        lp = reinterpret_cast<LPARAM>(textOut.data());
    }
    if (kind == kSelection) {
        wp = reinterpret_cast<WPARAM>(&selStart);
        lp = reinterpret_cast<LPARAM>(&selEnd);
    }
    DWORD_PTR answer = 0;
    answered = SendMessageTimeoutA(window, message, wp, lp, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                                   BoundedSender::kSendTimeoutMs, &answer) != 0;
    result = answer;
}

// What the caller and one helper thread share; it outlives whichever of them ends first.
struct SenderShared {
    std::mutex mutex;
    std::condition_variable wake;
    std::shared_ptr<SendJob> job;
    bool done = false;
    bool quit = false;
    bool abandoned = false;
    bool retired = false;  // the helper ended after a while without work
};

// The threads whose windows a helper is still stuck sending to: further messages to them
// count as unanswered at once, while every other program is served as usual.
struct StuckThreads {
    std::mutex mutex;
    std::multiset<DWORD> threads;

    bool Blocks(DWORD thread, std::size_t limit) {
        std::lock_guard<std::mutex> lock(mutex);
        return threads.size() >= limit || threads.count(thread) > 0;
    }
    void Add(DWORD thread) {
        std::lock_guard<std::mutex> lock(mutex);
        threads.insert(thread);
    }
    void Remove(DWORD thread) {
        std::lock_guard<std::mutex> lock(mutex);
        const auto it = threads.find(thread);
        if (it != threads.end()) threads.erase(it);
    }
};

namespace {

constexpr std::chrono::seconds kHelperIdleTime{10};

void HelperLoop(const std::shared_ptr<SenderShared>& shared,
                const std::shared_ptr<StuckThreads>& stuck) {
    for (;;) {
        std::unique_lock<std::mutex> lock(shared->mutex);
        // An idle helper ends, so that its stack is not kept while nothing needs sending;
        // the next send starts a new one.
        if (!shared->wake.wait_for(lock, kHelperIdleTime,
                                   [&] { return shared->job || shared->quit; })) {
            shared->retired = true;
            return;
        }
        if (!shared->job) return;
        const std::shared_ptr<SendJob> job = shared->job;
        lock.unlock();
        job->Run();
        lock.lock();
        shared->job.reset();
        shared->done = true;
        const bool abandoned = shared->abandoned;
        lock.unlock();
        shared->wake.notify_all();
        if (abandoned) {
            stuck->Remove(job->thread);
            return;
        }
    }
}

struct HelperStart {
    std::shared_ptr<SenderShared> shared;
    std::shared_ptr<StuckThreads> stuck;
};

DWORD WINAPI HelperMain(void* param) {
    const std::unique_ptr<HelperStart> start(static_cast<HelperStart*>(param));
    HelperLoop(start->shared, start->stuck);
    return 0;
}

// The helper only sends messages: a small stack keeps its share of the memory small (every
// thread's default stack costs about a megabyte of resident memory under Wine).
constexpr SIZE_T kHelperStackBytes = 64 * 1024;

HANDLE StartHelper(const std::shared_ptr<SenderShared>& shared,
                   const std::shared_ptr<StuckThreads>& stuck) {
    auto* start = new HelperStart{shared, stuck};
    const HANDLE thread = CreateThread(nullptr, kHelperStackBytes, HelperMain, start,
                                       STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) delete start;
    return thread;
}

}  // namespace

BoundedSender::BoundedSender(void (*beforeSend)())
    : beforeSend_(beforeSend), stuck_(std::make_shared<StuckThreads>()) {}

BoundedSender::~BoundedSender() {
    if (shared_) {
        {
            std::lock_guard<std::mutex> lock(shared_->mutex);
            shared_->quit = true;
        }
        shared_->wake.notify_all();
    }
    if (helper_) {
        WaitForSingleObject(helper_, INFINITE);
        CloseHandle(helper_);
    }
}

bool BoundedSender::Send(SendJob& job) {
    if (beforeSend_) beforeSend_();
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(job.window, &pid);
    if (thread == 0) return false;
    if (thread == GetCurrentThreadId()) {
        // Our own thread's window: a plain call, which cannot wait for anyone.
        job.Run();
        return job.answered;
    }
    job.thread = thread;
    // One send at a time through the helper, whichever thread asks.
    std::lock_guard<std::mutex> callers(callers_);
    if (stuck_->Blocks(thread, kMaxStuckSenders)) return false;
    if (shared_ && HelperRetired()) {
        // It has returned or is about to: nothing of it is left but its handle.
        WaitForSingleObject(helper_, INFINITE);
        CloseHandle(helper_);
        helper_ = nullptr;
        shared_.reset();
    }
    if (!shared_) {
        auto shared = std::make_shared<SenderShared>();
        helper_ = StartHelper(shared, stuck_);
        if (!helper_) return false;
        shared_ = std::move(shared);
    }
    auto owned = std::make_shared<SendJob>(std::move(job));
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->job = owned;
    shared_->done = false;
    shared_->wake.notify_all();
    const bool finished = shared_->wake.wait_for(
        lock, std::chrono::milliseconds(kSendTimeoutMs + 250), [&] { return shared_->done; });
    if (!finished) {
        // Leave the helper to its send; it ends by itself when the send returns.
        shared_->abandoned = true;
        stuck_->Add(thread);
        lock.unlock();
        CloseHandle(helper_);
        helper_ = nullptr;
        shared_.reset();
        return false;
    }
    lock.unlock();
    job = std::move(*owned);
    return job.answered;
}

bool BoundedSender::HelperRetired() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    return shared_->retired;
}

bool SendBounded(BoundedSender& sender, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                 DWORD_PTR* result) {
    if (!window) return false;
    SendJob job;
    job.window = window;
    job.message = message;
    job.wParam = wParam;
    job.lParam = lParam;
    const bool ok = sender.Send(job);
    if (result) *result = job.result;
    return ok;
}

bool SendTextBounded(BoundedSender& sender, HWND window, UINT message, std::string_view text) {
    if (!window) return false;
    SendJob job;
    job.window = window;
    job.message = message;
    job.kind = SendJob::kTextIn;
    job.textIn = std::string(text);
    return sender.Send(job);
}

}  // namespace vantor
