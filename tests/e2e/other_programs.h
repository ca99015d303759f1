// The other programs around vantor.exe in the end-to-end tests: message boxes they show,
// files they save as an editor does, the shell's open commands pointed at a stand-in, and
// a program's GUI thread held for a moment as if it were busy.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace vantor::e2e {

// A message box of another program (tools/show_message_box: "\r\n" escapes in the text).
inline Process ShowBox(const std::string& caption, const std::string& text,
                       const char* flags = "0x40") {
    return Process::Start(ToolPath("show_message_box"), {caption, text, flags});
}

// What a helper wrote as "waited_ms N" into its report file (show_message_box with a report
// file: from the box's activation to its answer), or -2 when there is none.
inline int WaitedMs(const std::string& report) {
    const std::string bytes = ReadFileBytes(report).value_or("");
    const auto at = bytes.find("waited_ms ");
    return at == std::string::npos ? -2 : std::atoi(bytes.c_str() + at + 10);
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

}  // namespace vantor::e2e
