#include "shell/single_instance_win32.h"

#include <windows.h>

#include <string>

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

}  // namespace vantor
