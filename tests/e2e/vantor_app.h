// The real vantor.exe as the end-to-end tests drive it: started in a folder of its own and
// driven the way the shell drives it (the tray callback message to the application window,
// WM_COMMAND menu ids to the message window), plus the user's keyboard and mouse through the
// press_keys tool. Header only, shared by the test programs.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
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
    Vantor(const Vantor&) = delete;
    Vantor& operator=(const Vantor&) = delete;

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
    HWND TextArea() const { return FindChild(fm_, "Edit"); }
    std::string Text() const { return TextOf(TextArea()); }
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

inline RECT WorkArea() {
    RECT r = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

inline std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

inline RECT WindowRectOf(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

// The message window sits in the lower right corner of the work area.
inline void ExpectAtCorner(HWND window) {
    const RECT r = WindowRectOf(window);
    const RECT work = WorkArea();
    EXPECT_EQ(r.right, work.right) << RectText(r);
    EXPECT_EQ(r.bottom, work.bottom) << RectText(r) << " work area bottom " << work.bottom;
}

// An integer key of section "Main" as the system's profile reader reads it; -12345 if absent.
inline int ReadIntKey(const std::string& ini, const char* key) {
    return static_cast<int>(GetPrivateProfileIntA("Main", key, -12345, ini.c_str()));
}

// A message box of another program (show_message_box); flags as MessageBoxA's uType.
inline Process ShowBox(const std::string& caption, const std::string& text,
                       const char* flags = "0x40") {
    return Process::Start(ToolPath("show_message_box"), {caption, text, flags});
}

// The user's keys and mouse buttons (see tools/press_keys.cpp for the steps); waits until
// they are all pressed and released.
inline bool Press(const std::vector<std::string>& steps) {
    Process keys = Process::Start(ToolPath("press_keys"), steps);
    return keys.Started() && keys.WaitExit(10000) == std::optional<DWORD>(0);
}

// The centre of a window on the screen, as "X" "Y" arguments of a mouse step.
inline std::vector<std::string> At(HWND window) {
    const RECT r = WindowRectOf(window);
    return {std::to_string((r.left + r.right) / 2), std::to_string((r.top + r.bottom) / 2)};
}

// The popup menu window (class "#32768") of a process, when one is open.
inline HWND OpenMenuOf(DWORD processId) {
    return FindTopLevelWindow({"#32768", std::nullopt, processId, true});
}

}  // namespace vantor::e2e
