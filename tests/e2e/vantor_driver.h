// The real vantor.exe as the end-to-end tests drive it: started in a folder of its own and
// ended with Exit, its message window read from outside, and a user's hands: the tray icon's
// callback, popup menus picked with the keys, real key presses and mouse clicks (SendInput).
// Also what surrounds it: files saved by another program, the shell's open commands pointed
// at a stand-in, and its GUI thread held for a moment as if it were busy.
#pragma once

#include <windows.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_support.h"
#include "shell/app_win32.h"
#include "ui/menus.h"
#include "ui/message_window_win32.h"

namespace vantor::e2e {

// The popup menu window (class "#32768") of a process, when one is open.
inline HWND OpenMenuOf(DWORD processId) {
    return FindTopLevelWindow({"#32768", std::nullopt, processId, true});
}

// Picks item `index` (0-based, separators not counted) of an open popup menu the way a user
// does with the keyboard: the first Down selects the first item, Enter runs it.
inline void PickMenuItem(HWND menu, int index) {
    for (int i = 0; i <= index; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

// Real key presses, as a user makes them: the keys go down in order and up in reverse.
inline void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        input.push_back(i);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        input.push_back(i);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// Real mouse buttons at the pointer (MOUSEEVENTF_LEFTDOWN, ...), in order.
inline void PressButtons(std::initializer_list<DWORD> buttons) {
    std::vector<INPUT> input;
    for (DWORD flags : buttons) {
        INPUT i = {};
        i.type = INPUT_MOUSE;
        i.mi.dwFlags = flags;
        input.push_back(i);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// Moves the mouse pointer and waits until it rests there. Under Wine a motion of the old
// position that is still on its way can undo a move: it is made again until it holds.
inline void PointerTo(POINT at) {
    auto there = [&] {
        POINT now = {};
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    };
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetCursorPos(at.x, at.y);
        Sleep(40);
        if (!there()) continue;
        Sleep(40);
        if (there()) return;
    }
    ADD_FAILURE() << "the pointer does not stay at " << at.x << "," << at.y;
}

inline POINT CenterOf(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
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

// An integer key of section "Main" as the system's profile reader reads it; -12345 if absent.
inline int ReadIntKey(const std::string& ini, const char* key) {
    return static_cast<int>(GetPrivateProfileIntA("Main", key, -12345, ini.c_str()));
}

// The user's keys and mouse buttons through another process (see tools/press_keys.cpp for
// the steps); waits until they are all pressed and released.
inline bool Press(const std::vector<std::string>& steps) {
    Process keys = Process::Start(ToolPath("press_keys"), steps);
    return keys.Started() && keys.WaitExit(10000) == std::optional<DWORD>(0);
}

// The centre of a window on the screen, as "X" "Y" arguments of a mouse step.
inline std::vector<std::string> At(HWND window) {
    const RECT r = WindowRectOf(window);
    return {std::to_string((r.left + r.right) / 2), std::to_string((r.top + r.bottom) / 2)};
}

inline RECT WorkArea() {
    RECT r = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// The message window sits in the lower right corner of the work area.
inline void ExpectAtCorner(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    const RECT work = WorkArea();
    const std::string where = std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                              std::to_string(r.right) + "," + std::to_string(r.bottom);
    EXPECT_EQ(r.right, work.right) << where;
    EXPECT_EQ(r.bottom, work.bottom) << where << " work area bottom " << work.bottom;
}

// A message box of another program (tools/show_message_box: "\r\n" escapes in the text).
inline Process ShowBox(const std::string& caption, const std::string& text,
                       const char* flags = "0x40") {
    return Process::Start(ToolPath("show_message_box"), {caption, text, flags});
}

// Another program saves files in `folder` as an editor does (tools/save_files): name, text
// pairs, "|" standing for a line end. True when it saved them all.
inline bool SaveWithAnotherProgram(const std::string& folder,
                                   const std::vector<std::string>& namesAndTexts) {
    std::vector<std::string> args;
    for (std::size_t i = 0; i < namesAndTexts.size(); ++i)
        args.push_back(i % 2 ? namesAndTexts[i] : JoinPath(folder, namesAndTexts[i]));
    Process saver = Process::Start(ToolPath("save_files"), args);
    return saver.Started() && saver.WaitExit(10000) == std::optional<DWORD>(0);
}

// The open command of a scheme or file type, replaced for the suite and put back after it.
class ShellCommandOverride {
  public:
    ShellCommandOverride(const std::string& type, const std::string& command)
        : key_(type + "\\shell\\open\\command") {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot open HKCR\\" << key_;
            return;
        }
        char old[1024] = {};
        DWORD size = sizeof(old) - 1;
        if (RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old),
                             &size) == ERROR_SUCCESS) {
            old_ = old;
        }
        EXPECT_EQ(RegSetValueExA(key, nullptr, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(command.c_str()),
                                 static_cast<DWORD>(command.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    ~ShellCommandOverride() {
        HKEY key = nullptr;
        if (!old_ || RegOpenKeyExA(HKEY_CLASSES_ROOT, key_.c_str(), 0, KEY_SET_VALUE, &key) !=
                         ERROR_SUCCESS) {
            return;
        }
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_->c_str()),
                       static_cast<DWORD>(old_->size() + 1));
        RegCloseKey(key);
    }

  private:
    std::string key_;
    std::optional<std::string> old_;
};

// Holds another program's GUI thread (the one that owns `window`) for a scope, as when that
// program is busy meanwhile: what it would do for a message or a posted task waits.
class GuiThreadHold {
  public:
    explicit GuiThreadHold(HWND window)
        : thread_(OpenThread(THREAD_SUSPEND_RESUME, FALSE,
                             GetWindowThreadProcessId(window, nullptr))) {
        if (!thread_ || SuspendThread(thread_) == static_cast<DWORD>(-1))
            ADD_FAILURE() << "cannot hold the GUI thread";
    }
    ~GuiThreadHold() {
        if (!thread_) return;
        ResumeThread(thread_);
        CloseHandle(thread_);
    }
    GuiThreadHold(const GuiThreadHold&) = delete;
    GuiThreadHold& operator=(const GuiThreadHold&) = delete;

  private:
    HANDLE thread_;
};

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
    // The menu that opened for the user: false when none came up.
    bool PickFromOpenMenu(int index) {
        HWND menu = nullptr;
        if (!WaitUntil([&] { return (menu = OpenMenuOf(process_.Id())) != nullptr; }, 3000))
            return false;
        PickMenuItem(menu, index);
        return WaitUntil([&] { return OpenMenuOf(process_.Id()) == nullptr; }, 3000);
    }
    // The tray menu (a right click on the icon), item `index`.
    bool PickTrayItem(int index) {
        Tray(WM_RBUTTONDOWN);
        return PickFromOpenMenu(index);
    }
    // The text menu (a right click into the text area), item `index`.
    bool PickTextItem(int index) {
        PointerTo(CenterOf(TextArea()));
        PressButtons({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
        return PickFromOpenMenu(index);
    }

    // The screen point `dx` pixels right of the left edge of the character at `index` of the
    // text area's text, half-way down its line.
    POINT CharPoint(std::size_t index, int dx = 2) const {
        HWND edit = TextArea();
        DWORD_PTR pos = 0;
        SendMessageTimeoutA(edit, EM_POSFROMCHAR, index, 0, SMTO_ABORTIFHUNG, 2000, &pos);
        POINT at = {static_cast<short>(LOWORD(pos)) + dx, static_cast<short>(HIWORD(pos)) + 5};
        ClientToScreen(edit, &at);
        return at;
    }
    std::string Selected() const {
        DWORD_PTR sel = 0;
        SendMessageTimeoutA(TextArea(), EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &sel);
        const std::string text = Text();
        const std::size_t start = std::min<std::size_t>(LOWORD(sel), text.size());
        return text.substr(start, HIWORD(sel) - start);
    }
    // A double click on the word that begins at `index`: the text area selects it.
    void DoubleClickWordAt(std::size_t index) const {
        PointerTo(CharPoint(index + 1));
        PressButtons({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                      MOUSEEVENTF_LEFTUP});
        Sleep(200);
    }

    std::string Caption() const { return TextOf(fm_); }
    HWND TextArea() const { return FindChild(fm_, "Edit"); }
    std::string Text() const { return TextOf(TextArea()); }
    bool Visible() const { return IsWindowVisible(fm_) != FALSE; }
    // Hidden for real: while its redrawing is suspended a visible window reads as not
    // visible for a moment, so it must read so twice.
    bool Hidden() const { return !Visible() && (Sleep(50), !Visible()); }
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
