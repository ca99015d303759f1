#include "shell/single_instance_win32.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ui/message_window_win32.h"

namespace vantor {

InstanceCheck CheckSingleInstance() {
    InstanceProbe probe;
    InstanceCheck result;
    result.notice = RegisterWindowMessageA(SecondStartNoticeName().c_str());
    probe.noticeRegistered = result.notice != 0;
    HANDLE unnamed = CreateMutexA(nullptr, TRUE, nullptr);
    probe.unnamedMutexCreated = unnamed != nullptr;
    // Kept open (and, for the first instance, owned) until the process ends.
    HANDLE named = CreateMutexA(nullptr, FALSE, kInstanceId);
    probe.namedMutexOpened = named != nullptr;
    if (probe.noticeRegistered && probe.unnamedMutexCreated && probe.namedMutexOpened) {
        probe.waitResult = WaitForSingleObject(named, 0);
    }
    if (unnamed) CloseHandle(unnamed);
    result.first = IsFirstInstance(probe);
    return result;
}

void NotifyRunningInstance(unsigned notice, void* ownWindow) {
    if (notice == 0) return;
    HWND window = static_cast<HWND>(ownWindow);
    char old[512] = {};
    GetWindowTextA(window, old, sizeof(old));
    SetWindowTextA(window, GetCommandLineA());
    DWORD recipients = BSM_APPLICATIONS;
    BroadcastSystemMessageA(BSF_QUERY | BSF_IGNORECURRENTTASK, &recipients, notice, 0,
                            reinterpret_cast<LPARAM>(window));
    SetWindowTextA(window, old);
}

namespace {

constexpr DWORD kAnswerWaitMs = 5000;
constexpr DWORD kEndWaitMs = 10000;

// The named mutex is held while an instance runs (and freed, abandoned, when it ends).
bool InstanceRuns() {
    HANDLE named = OpenMutexA(SYNCHRONIZE, FALSE, kInstanceId);
    if (!named) return false;
    const DWORD wait = WaitForSingleObject(named, 0);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(named);
    CloseHandle(named);
    return wait == WAIT_TIMEOUT;
}

}  // namespace

int RunInstanceCommand(InstanceCommand command) {
    const UINT notice = RegisterWindowMessageA(SecondStartNoticeName().c_str());
    const DWORD start = GetTickCount();
    std::optional<std::int64_t> answer;
    HANDLE process = nullptr;
    // Windows of the class that answered something else (a plain second start on its way
    // out, an older Vantor that knows no words): not asked again.
    std::vector<HWND> others;
    // The running instance may still be starting (its window not there yet, or not yet
    // taking messages): asked again until it answers, or until it is seen not to run.
    while (notice != 0 && !answer && InstanceRuns()) {
        for (HWND w = FindWindowExA(nullptr, nullptr, kMessageWindowClass, nullptr); w && !answer;
             w = FindWindowExA(nullptr, w, kMessageWindowClass, nullptr)) {
            if (std::find(others.begin(), others.end(), w) != others.end()) continue;
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= kAnswerWaitMs) break;
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            // Opened before the word goes out, so that its end can be waited for.
            HANDLE candidate = command == InstanceCommand::kExit
                                   ? OpenProcess(SYNCHRONIZE, FALSE, pid)
                                   : nullptr;
            DWORD_PTR result = 0;
            const bool answered =
                SendMessageTimeoutA(w, notice, static_cast<WPARAM>(command), 0,
                                    SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerWaitMs - elapsed,
                                    &result) != 0;
            if (answered && IsInstanceAnswer(static_cast<std::int64_t>(result))) {
                answer = static_cast<std::int64_t>(result);
                process = candidate;
                continue;
            }
            if (answered && others.size() < 64) others.push_back(w);
            if (candidate) CloseHandle(candidate);
        }
        if (answer || GetTickCount() - start >= kAnswerWaitMs) break;
        Sleep(50);
    }
    bool ended = false;
    if (process) {
        ended = WaitForSingleObject(process, kEndWaitMs) == WAIT_OBJECT_0;
        CloseHandle(process);
    }
    return CommandExitCode(command, answer, ended);
}

}  // namespace vantor
