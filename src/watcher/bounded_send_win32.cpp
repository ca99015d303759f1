#include "watcher/bounded_send_win32.h"

#include <memory>

namespace vantor {
namespace {

constexpr UINT kWaitFlags = SMTO_ABORTIFHUNG | SMTO_NORMAL;

// Bytes per character at most in the system's code page (1 for code page 1251).
UINT MaxBytesPerChar() {
    static const UINT bytes = [] {
        CPINFO info{};
        return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? info.MaxCharSize : 2u;
    }();
    return bytes;
}

}  // namespace

void SendJob::Run(UINT timeoutMs) {
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
    if (message == WM_GETTEXTLENGTH) {
        // Wine's SendMessageTimeoutA of WM_GETTEXTLENGTH waits without end for a program
        // that pumps nothing; the wide form keeps its time-out. The length in bytes is at
        // most the characters times the code page's widest character, which is what the
        // ANSI form may answer too: the text read after it ends at its NUL.
        answered = SendMessageTimeoutW(window, message, wp, lp, kWaitFlags, timeoutMs, &answer) != 0;
        if (answered && static_cast<LRESULT>(answer) > 0) answer *= MaxBytesPerChar();
    } else {
        answered = SendMessageTimeoutA(window, message, wp, lp, kWaitFlags, timeoutMs, &answer) != 0;
    }
    result = answer;
}

void BoundedSender::Note(DWORD thread, bool answered) {
    std::lock_guard<std::mutex> lock(memoMutex_);
    memo_.Note(thread, answered, GetTickCount());
}

bool BoundedSender::Ready(HWND window, DWORD thread) {
    AnswerMemo::Verdict verdict;
    {
        std::lock_guard<std::mutex> lock(memoMutex_);
        verdict = memo_.Check(thread, GetTickCount());
    }
    if (verdict != AnswerMemo::Verdict::kAsk) return verdict == AnswerMemo::Verdict::kAnswers;
    DWORD_PTR ignored = 0;
    const bool answered =
        SendMessageTimeoutA(window, WM_NULL, 0, 0, kWaitFlags, kPingTimeoutMs, &ignored) != 0;
    Note(thread, answered);
    return answered;
}

bool BoundedSender::Send(SendJob& job) {
    if (!job.window) return false;
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(job.window, &pid);
    if (thread == 0) return false;
    if (beforeSend_) beforeSend_();
    if (thread == GetCurrentThreadId()) {
        // Our own thread's window: a plain call, which cannot wait for anyone.
        job.Run(kSendTimeoutMs);
        return job.answered;
    }
    if (!Ready(job.window, thread)) return false;
    if (pid != GetCurrentProcessId() || job.kind == SendJob::kPlain) {
        // Another process gets a copy of what lParam points to; an answer that comes too late
        // is dropped by the system, never written into our memory.
        job.Run(kSendTimeoutMs);
        Note(thread, job.answered);
        return job.answered;
    }
    // Another thread of ours reads and writes our memory directly, also when it gets to the
    // message after we stopped waiting: a job not answered in time is left to it for good.
    auto owned = std::make_unique<SendJob>(std::move(job));
    owned->Run(kSendTimeoutMs);
    Note(thread, owned->answered);
    if (!owned->answered) {
        static_cast<void>(owned.release());  // kept on purpose: the other thread may still write
        return false;
    }
    job = std::move(*owned);
    return true;
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
