// Helpers for the end-to-end test programs that run under Wine: where vantor.exe, the helper
// tools and the expected data are, fresh folders, starting and ending the processes a test
// starts, bounded waits for windows and exits, and file bytes. Every wait has a timeout, so
// a test fails instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window_messages_win32.h"

namespace vantor::e2e {

// ---- Paths (Windows form, e.g. "Z:\\work\\main\\build\\...") ----

// "Z:\..." form of an absolute Unix path (Wine maps drive Z: to "/"); a path with a drive
// (a build on Windows) keeps it.
std::string WindowsPath(const std::string& unixPath);
// The freshly built vantor.exe (copy it into a folder: its program folder is its own).
std::string VantorExePath();
// A helper program from tests/e2e/tools: ToolPath("show_message_box").
std::string ToolPath(const std::string& toolName);
// A file of the source tree, e.g. RepositoryFile("Language\\Rus.lng").
std::string RepositoryFile(const std::string& relative);
// An expected file built from tests/e2e/data/<name>.utf8 (code page 1251, CR LF).
std::string ExpectedDataPath(const std::string& name);
// folder + "\\" + name, without doubling a trailing backslash.
std::string JoinPath(const std::string& folder, const std::string& name);

// A new, empty folder inside the test program's work folder, named after the running test
// (plus hint); the result ends with a backslash. Never reuses an existing folder.
std::string FreshFolder(const std::string& hint = "");

// ---- Files ----

// The whole file, or nullopt when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool CopyFileTo(const std::string& from, const std::string& to);
// Names of the plain files (not folders) in a folder, sorted.
std::vector<std::string> FileNamesIn(const std::string& folder);
// Readable rendering of bytes for failure messages: printable ASCII as is, others as \xNN.
std::string Escaped(const std::string& bytes);

// ---- Processes ----

// One argument quoted the way the C runtime's command-line parser splits it back.
std::string QuoteArgument(const std::string& argument);

// A process this test started. Ending it (Kill, or the destructor while it still runs)
// touches only this process.
class Process {
  public:
    Process() = default;
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts exe with the arguments (quoted as needed) in workFolder (empty: ours).
    // Check Started(); on failure Error() holds GetLastError().
    static Process Start(const std::string& exe, const std::vector<std::string>& arguments = {},
                         const std::string& workFolder = "");

    bool Started() const { return process_ != nullptr; }
    DWORD Error() const { return error_; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    bool Running() const;
    // The exit code once the process has ended, or nullopt when it still runs after timeoutMs.
    std::optional<DWORD> WaitExit(DWORD timeoutMs);
    // Ends the process (if it still runs) and waits for it, at most 5 s.
    void Kill();

  private:
    void Close();
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    DWORD error_ = 0;
};

// ---- Windows ----

struct WindowQuery {
    std::string className;               // class name (any case); empty: any class
    std::optional<std::string> caption;  // exact caption; nullopt: any caption
    DWORD processId = 0;                 // only windows of this process; 0: any process
    bool visibleOnly = true;
};

HWND FindTopLevelWindow(const WindowQuery& query);
// Polls every 10 ms; nullptr when no such window appeared within timeoutMs.
HWND WaitForTopLevelWindow(const WindowQuery& query, DWORD timeoutMs);
// True once the window is gone (or never was); false when it still exists after timeoutMs.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

std::string ClassNameOf(HWND window);
// The window's text read with WM_GETTEXT under a 2 s bound (a hung owner yields "").
std::string TextOf(HWND window);
// One line per top-level window (of processId, or all when 0): handle, class, caption,
// visibility; for failure messages.
std::string DescribeTopLevelWindows(DWORD processId = 0);
// Direct children in z-order.
std::vector<HWND> ChildWindows(HWND parent);
// First direct child of the class (case-insensitive, as Windows compares class names) and,
// when given, with exactly this text.
HWND FindChild(HWND parent, const std::string& className,
               const std::optional<std::string>& text = std::nullopt);

// Polls condition every stepMs until it holds or timeoutMs passed; returns its last value.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs = 10);

// ---- The bench's system ----

// The test process reads the screen in pixels, as a DPI-aware program sees them.
void BecomeDpiAware();
// True when the tests run under Wine on the bench (VANTOR_E2E_WINE); false on a Windows host.
bool UnderWine();
// True when the bench runs as a fully Russian system (VANTOR_E2E_RUSSIAN=1).
bool RussianSystem();
// The text of a message box's OK button on this system: "OK", or "\xCE\xCA" in Russian.
std::string SystemOkText();

}  // namespace vantor::e2e
