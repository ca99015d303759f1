// The real vantor.exe as the end-to-end tests drive it: started in a folder of its own and
// ended with Exit, its windows read from outside, its tray icon's callback, its menus picked
// with a user's hands (user_input.h), among other programs (other_programs.h).
#pragma once

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_support.h"
#include "other_programs.h"
#include "shell/app_win32.h"
#include "ui/menus.h"
#include "ui/message_window_win32.h"
#include "ui/settings_dialog_win32.h"
#include "user_input.h"

namespace vantor::e2e {

// "left,top,right,bottom", for failure messages.
inline std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// An integer key of section "Main" as the system's profile reader reads it; -12345 if absent.
inline int ReadIntKey(const std::string& ini, const char* key) {
    return static_cast<int>(GetPrivateProfileIntA("Main", key, -12345, ini.c_str()));
}

inline bool IsChecked(HWND button) {
    return Ask(button, BM_GETCHECK) == BST_CHECKED;
}

// The focused control of the thread that owns the window (another process's).
inline HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
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

inline RECT WorkArea() {
    RECT r = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

// The message window sits in the lower right corner of the work area.
inline void ExpectAtCorner(HWND window) {
    const RECT r = WindowRectOf(window);
    const RECT work = WorkArea();
    EXPECT_EQ(r.right, work.right) << RectText(r);
    EXPECT_EQ(r.bottom, work.bottom) << RectText(r) << " work area bottom " << work.bottom;
}

// One vantor.exe started by the test; Exit (or, failing that, kill) when it goes.
class Vantor {
  public:
    // kSystemBoxes: the test's other programs show the system's own message boxes, which a
    // Russian system labels "ОК", "Да" and "Нет". On such a system the folder then gets a
    // language file that gives only those words, named by "Language=Rus" (the default, added
    // to a test's own settings), so the texts the test checks stay the built-in English ones.
    enum Words { kOwnWords, kSystemBoxes };

    explicit Vantor(std::string folder, Words words = kOwnWords) : folder_(std::move(folder)) {
        exe_ = JoinPath(folder_, "vantor.exe");
        if (!ReadFileBytes(exe_)) CopyFileTo(VantorExePath(), exe_);
        if (words == kSystemBoxes && RussianSystem()) {
            CreateDirectoryA((folder_ + "Language").c_str(), nullptr);
            WriteFileBytes(folder_ + "Language\\Rus.lng",
                           "[Messages]\r\nssOK=\xCE\xCA\r\nssYes=\xC4\xE0\r\nssNo=\xCD\xE5\xF2\r\n");
            const std::string ini = folder_ + "Vantor.ini";
            char language[64] = {};
            if (ReadFileBytes(ini) && GetPrivateProfileStringA("Main", "Language", "", language,
                                                               sizeof(language), ini.c_str()) == 0) {
                WritePrivateProfileStringA("Main", "Language", "Rus", ini.c_str());
            }
        }
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
        setup_ = WaitForTopLevelWindow({kSettingsDialogClass, std::nullopt, pid, false}, 5000);
        if (!fm_ || !app_ || !setup_) return false;
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

    // Opens the settings dialog and waits until it is the foreground window. A second try,
    // as a user would make: a program the shell just started (a console one) may hold the
    // foreground for a moment.
    bool OpenSettings() {
        for (int attempt = 0; attempt < 2; ++attempt) {
            CommandAndWait(kCmdSettings);
            if (WaitUntil([&] { return GetForegroundWindow() == setup_; }, 2000)) return true;
        }
        return false;
    }
    HWND Settings() const { return setup_; }
    HWND SettingsControl(int id) const { return GetDlgItem(setup_, id); }
    std::string Ini() const { return ReadFileBytes(folder_ + "Vantor.ini").value_or("<none>"); }

    std::string Caption() const { return TextOf(fm_); }
    HWND TextArea() const { return FindChild(fm_, "Edit"); }
    std::string Text() const { return TextOf(TextArea()); }
    bool Visible() const { return IsWindowVisible(fm_) != FALSE; }
    // Hidden for real: while its redrawing is suspended a visible window reads as not
    // visible for a moment, so it must read so twice.
    bool Hidden() const { return !Visible() && (Sleep(50), !Visible()); }
    HWND Window() const { return fm_; }
    HWND AppWindow() const { return app_; }
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
    HWND setup_ = nullptr;
};

}  // namespace vantor::e2e
