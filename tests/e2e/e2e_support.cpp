#include "e2e_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vantor::e2e {

std::string WindowsPath(const std::string& unixPath) {
    // A build on Windows itself names its files with a drive already.
    const bool drive = unixPath.size() > 1 && unixPath[1] == ':';
    std::string result = drive ? "" : "Z:";
    for (char c : unixPath) result += (c == '/') ? '\\' : c;
    return result;
}

std::string VantorExePath() {
    return WindowsPath(VANTOR_E2E_VANTOR_EXE);
}

std::string ToolPath(const std::string& toolName) {
    return WindowsPath(std::string(VANTOR_E2E_TOOLS_DIR) + "/" + toolName + ".exe");
}

std::string RepositoryFile(const std::string& relative) {
    return JoinPath(WindowsPath(VANTOR_E2E_SOURCE_DIR), relative);
}

std::string ExpectedDataPath(const std::string& name) {
    return WindowsPath(std::string(VANTOR_E2E_DATA_DIR) + "/" + name);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
    return folder + "\\" + name;
}

namespace {

// Keeps letters, digits, '-' and '_' of a test name; everything else becomes '_'.
std::string SafeName(const std::string& text) {
    std::string result;
    for (unsigned char c : text) result += (std::isalnum(c) || c == '-') ? char(c) : '_';
    return result;
}

std::string CurrentFolder() {
    char buffer[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

}  // namespace

std::string FreshFolder(const std::string& hint) {
    std::string base = "test";
    if (const auto* info = testing::UnitTest::GetInstance()->current_test_info()) {
        base = SafeName(std::string(info->test_suite_name()) + "." + info->name());
    }
    if (!hint.empty()) base.append(".").append(SafeName(hint));
    const std::string parent = CurrentFolder();
    for (int n = 0; n < 10000; ++n) {
        std::string folder = JoinPath(parent, n == 0 ? base : base + "_" + std::to_string(n));
        // CreateDirectoryA fails on an existing folder, which makes the name ours alone.
        if (CreateDirectoryA(folder.c_str(), nullptr)) return folder + "\\";
    }
    ADD_FAILURE() << "cannot create a fresh folder for " << base << " in " << parent;
    return parent + "\\";
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok =
        bytes.empty() || (WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                          written == bytes.size());
    return CloseHandle(file) && ok;
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(JoinPath(folder, "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Escaped(const std::string& bytes) {
    std::string result;
    for (unsigned char c : bytes) {
        if (c >= 32 && c < 127 && c != '\\') {
            result += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            result += hex;
        }
    }
    return result;
}

std::string QuoteArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
        return argument;
    }
    // Backslashes are literal unless they precede a quote; then they are doubled.
    std::string result = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') backslashes = backslashes * 2 + 1;
        result.append(backslashes, '\\');
        backslashes = 0;
        result += c;
    }
    result.append(backslashes * 2, '\\');
    return result + "\"";
}

Process::~Process() {
    Kill();
    Close();
}

Process::Process(Process&& other) noexcept
    : process_(other.process_), id_(other.id_), error_(other.error_) {
    other.process_ = nullptr;
    other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        Close();
        process_ = other.process_;
        id_ = other.id_;
        error_ = other.error_;
        other.process_ = nullptr;
        other.id_ = 0;
    }
    return *this;
}

Process Process::Start(const std::string& exe, const std::vector<std::string>& arguments,
                       const std::string& workFolder) {
    std::string commandLine = QuoteArgument(exe);
    for (const auto& argument : arguments) commandLine.append(" ").append(QuoteArgument(argument));
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    Process process;
    if (!CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workFolder.empty() ? nullptr : workFolder.c_str(), &startup, &info)) {
        process.error_ = GetLastError();
        return process;
    }
    CloseHandle(info.hThread);
    process.process_ = info.hProcess;
    process.id_ = info.dwProcessId;
    return process;
}

bool Process::Running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::WaitExit(DWORD timeoutMs) {
    if (process_ == nullptr) return std::nullopt;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

void Process::Kill() {
    if (!Running()) return;
    TerminateProcess(process_, 0xDEAD);
    WaitForSingleObject(process_, 5000);
}

void Process::Close() {
    if (process_ != nullptr) CloseHandle(process_);
    process_ = nullptr;
}

std::string ClassNameOf(HWND window) {
    char buffer[256] = {};
    int length = GetClassNameA(window, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

std::string TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return "";
    }
    std::string buffer(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), LPARAM(buffer.data()),
                             SMTO_ABORTIFHUNG, 2000, &copied)) {
        return "";
    }
    buffer.resize(std::min<size_t>(copied, length));
    return buffer;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

HWND FindChild(HWND parent, const std::string& className, const std::optional<std::string>& text) {
    for (HWND child : ChildWindows(parent)) {
        if (lstrcmpiA(ClassNameOf(child).c_str(), className.c_str()) != 0) continue;
        if (text && TextOf(child) != *text) continue;
        return child;
    }
    return nullptr;
}

namespace {

struct Search {
    const WindowQuery* query;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    const WindowQuery& query = *search->query;
    if (query.visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (query.processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != query.processId) return TRUE;
    }
    // Class names compare without case, as the system compares them.
    if (!query.className.empty() &&
        lstrcmpiA(ClassNameOf(window).c_str(), query.className.c_str()) != 0) {
        return TRUE;
    }
    if (query.caption) {
        // Top-level captions are kept by the window manager; no message to a busy owner.
        char buffer[1024] = {};
        int length = GetWindowTextA(window, buffer, sizeof buffer);
        if (std::string(buffer, length > 0 ? length : 0) != *query.caption) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

std::string DescribeTopLevelWindows(DWORD processId) {
    struct Listing {
        DWORD processId;
        std::string text;
    } listing{processId, ""};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* listing = reinterpret_cast<Listing*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (listing->processId != 0 && owner != listing->processId) return TRUE;
            char caption[512] = {};
            int length = GetWindowTextA(window, caption, sizeof caption);
            char line[128];
            std::snprintf(line, sizeof line, "  %p pid %lu %s ", static_cast<void*>(window),
                          static_cast<unsigned long>(owner),
                          IsWindowVisible(window) ? "visible" : "hidden");
            listing->text += line + Escaped(ClassNameOf(window)) + " \"" +
                             Escaped(std::string(caption, length > 0 ? length : 0)) + "\"\n";
            return TRUE;
        },
        LPARAM(&listing));
    return listing.text;
}

HWND FindTopLevelWindow(const WindowQuery& query) {
    Search search{&query, nullptr};
    EnumWindows(MatchWindow, LPARAM(&search));
    return search.found;
}

HWND WaitForTopLevelWindow(const WindowQuery& query, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopLevelWindow(query)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(window); }, timeoutMs);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD stepMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(stepMs);
    }
}

bool RussianSystem() {
    char value[16] = {};
    DWORD length = GetEnvironmentVariableA("VANTOR_E2E_RUSSIAN", value, sizeof value);
    return length == 1 && value[0] == '1';
}

void BecomeDpiAware() {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
    // Per monitor v2; where it is missing, aware of the system's DPI.
    if (!set || !set(reinterpret_cast<HANDLE>(-4))) SetProcessDPIAware();
}

bool UnderWine() {
    return VANTOR_E2E_WINE != 0;
}

std::string SystemOkText() {
    return RussianSystem() ? "\xCE\xCA" : "OK";
}

}  // namespace vantor::e2e
