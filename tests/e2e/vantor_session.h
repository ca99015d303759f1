// Driving a real vantor.exe as a user does, for the settings, language and help tests: start
// and Exit, the tray callback and menu commands, the settings dialog's controls (found by
// their ids), real key presses and mouse clicks (SendInput), and popup menus picked with the
// keyboard. Header only: the e2e programs are built from their own file and e2e_support.
#pragma once

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "shell/app_win32.h"
#include "ui/menus.h"
#include "ui/message_window_win32.h"
#include "ui/settings_dialog_win32.h"

namespace vantor::e2e {

// One vantor.exe started by the test in its own folder; Exit (or, failing that, kill) when
// it goes.
class VantorSession {
  public:
    explicit VantorSession(std::string folder) : folder_(std::move(folder)) {
        exe_ = JoinPath(folder_, "vantor.exe");
        if (!ReadFileBytes(exe_)) CopyFileTo(VantorExePath(), exe_);
    }
    ~VantorSession() {
        if (process_.Started() && process_.Running()) {
            Exit();
            if (process_.Running()) process_.Kill();
        }
    }

    // Waits until start-up is through: the GUI thread waits for input in its message loop.
    bool Start() {
        process_ = Process::Start(exe_, {}, folder_);
        if (!process_.Started()) return false;
        const DWORD pid = process_.Id();
        fm_ = WaitForTopLevelWindow({kMessageWindowClass, std::nullopt, pid, false}, 15000);
        app_ = WaitForTopLevelWindow({kApplicationWindowClass, std::nullopt, pid, false}, 5000);
        setup_ = WaitForTopLevelWindow({kSettingsDialogClass, std::nullopt, pid, false}, 5000);
        if (!fm_ || !app_ || !setup_) return false;
        return WaitForInputIdle(process_.Handle(), 10000) == 0 && (Sleep(200), true);
    }
    bool Exit() {
        PostMessageA(fm_, WM_COMMAND, kCmdExit, 0);
        return process_.WaitExit(10000).has_value();
    }

    // A command as a menu sends it; returns once the window has handled it.
    void Command(MenuCommand id) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(fm_, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    void Tray(UINT mouseMessage) { PostMessageA(app_, kTrayCallbackMessage, 1, mouseMessage); }
    // Opens the settings dialog and waits until it is the foreground window. A second try,
    // as a user would make: a program the shell just started (a console one) may hold the
    // foreground for a moment.
    bool OpenSettings() {
        for (int attempt = 0; attempt < 2; ++attempt) {
            Command(kCmdSettings);
            if (WaitUntil([&] { return GetForegroundWindow() == setup_; }, 2000)) return true;
        }
        return false;
    }

    HWND Window() const { return fm_; }
    HWND Settings() const { return setup_; }
    HWND SettingsControl(int id) const { return GetDlgItem(setup_, id); }
    std::string Caption() const { return TextOf(fm_); }
    std::string Text() const { return TextOf(FindChild(fm_, "Edit")); }
    bool Visible() const { return IsWindowVisible(fm_) != FALSE; }
    Process& Proc() { return process_; }
    const std::string& Folder() const { return folder_; }
    const std::string& Exe() const { return exe_; }
    std::string Ini() const { return ReadFileBytes(folder_ + "Vantor.ini").value_or("<none>"); }

  private:
    std::string folder_;
    std::string exe_;
    Process process_;
    HWND fm_ = nullptr;
    HWND app_ = nullptr;
    HWND setup_ = nullptr;
};

// A message to a window of another process, answered within 2 s (0 when not).
inline LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}
inline bool IsChecked(HWND button) {
    return Ask(button, BM_GETCHECK) == BST_CHECKED;
}

// Real key presses: the keys go down in order and up in reverse; `holdMs` between, so that a
// 50 ms poller sees them.
inline void PressKeys(std::initializer_list<WORD> keys, DWORD holdMs = 0) {
    std::vector<INPUT> down, up;
    for (WORD key : keys) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        down.push_back(i);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        up.push_back(i);
    }
    SendInput(static_cast<UINT>(down.size()), down.data(), sizeof(INPUT));
    if (holdMs) Sleep(holdMs);
    SendInput(static_cast<UINT>(up.size()), up.data(), sizeof(INPUT));
}

// A real left click in the middle of a window (a control of another program).
inline void ClickAt(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    INPUT input[3] = {};
    for (INPUT& i : input) {
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        i.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

// The focused control of the thread that owns the window (another process's).
inline HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// The popup menu window (class "#32768") of a process, when one is open.
inline HWND OpenMenuOf(DWORD processId) {
    return FindTopLevelWindow({"#32768", std::nullopt, processId, true});
}

// A file of the repository (the build folder is <repository>\build\windows).
inline std::string RepositoryFile(const std::string& relative) {
    std::string exe = VantorExePath();
    return exe.substr(0, exe.find_last_of('\\')) + "\\..\\..\\" + relative;
}

// The text of a drop-down list's item (-1: its selection), in the system's code page. Asked
// for in UTF-16: Wine hands CB_GETLBTEXT across processes as UTF-16 whichever form was asked.
inline std::string ComboItemText(HWND combo, int index) {
    if (index < 0) index = static_cast<int>(Ask(combo, CB_GETCURSEL));
    DWORD_PTR length = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG,
                        2000, &length);
    if (length == 0 || length > 4096) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG, 2000, &got);
    wide.resize(std::min<std::size_t>(got, static_cast<std::size_t>(length)));
    std::string text(wide.size() * 2 + 1, '\0');
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
    return text;
}

}  // namespace vantor::e2e
