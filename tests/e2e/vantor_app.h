// The real vantor.exe as the end-to-end tests drive it: a copy in a folder of the test's,
// started and waited for, its menu commands and tray messages, its window's caption and text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "shell/app_win32.h"
#include "ui/menus.h"
#include "ui/message_window_win32.h"

namespace vantor::e2e {

// One vantor.exe started by the test; Exit (or, failing that, kill) when it goes.
class Vantor {
  public:
    explicit Vantor(std::string folder) : folder_(std::move(folder)) {
        exe_ = JoinPath(folder_, "vantor.exe");
        if (!ReadFileBytes(exe_)) CopyFileTo(VantorExePath(), exe_);
    }
    ~Vantor() {
        if (process_.Started() && process_.Running()) {
            Exit();
            if (process_.Running()) process_.Kill();
        }
    }

    // Starts it and waits until start-up is through: its GUI thread waits for input in the
    // message loop, which it enters right after starting the watcher's timers. (The text
    // area only comes with the first show, so its text cannot tell.)
    bool Start(const std::vector<std::string>& args = {}) {
        process_ = Process::Start(exe_, args, folder_);
        if (!process_.Started()) return false;
        const DWORD pid = process_.Id();
        fm_ = WaitForTopLevelWindow({kMessageWindowClass, std::nullopt, pid, false}, 15000);
        app_ = WaitForTopLevelWindow({kApplicationWindowClass, std::nullopt, pid, false}, 5000);
        if (!fm_ || !app_) return false;
        return WaitForInputIdle(process_.Handle(), 10000) == 0 &&
               (Sleep(200), true);  // the first ticks of the watcher
    }

    void Command(MenuCommand id) { PostMessageA(fm_, WM_COMMAND, id, 0); }
    void Tray(UINT mouseMessage) { PostMessageA(app_, kTrayCallbackMessage, 1, mouseMessage); }
    // Runs a command and waits until the window has handled it (a message sent after a
    // posted one would be handled first, so the command itself is sent).
    void CommandAndWait(MenuCommand id) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(fm_, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }

    std::string Caption() const { return TextOf(fm_); }
    std::string Text() const { return TextOf(FindChild(fm_, "Edit")); }
    bool Visible() const { return IsWindowVisible(fm_) != FALSE; }
    HWND Window() const { return fm_; }
    Process& Proc() { return process_; }
    const std::string& Folder() const { return folder_; }
    const std::string& Exe() const { return exe_; }

    bool Exit() {
        Command(kCmdExit);
        return process_.WaitExit(10000).has_value();
    }

  private:
    std::string folder_;
    std::string exe_;
    Process process_;
    HWND fm_ = nullptr;
    HWND app_ = nullptr;
};

}  // namespace vantor::e2e
