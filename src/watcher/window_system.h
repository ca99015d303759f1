// The engine's only door to the window manager. The Windows build implements it over
// user32; the tests implement it over a tree of fake windows with a virtual clock.
//
// Contract for messages to other programs' windows: the Windows implementation sends them
// with a bounded wait (about one second, aborted at once when the target is hung), and only
// to a program that answered a harmless message within a tenth of a second just before, so
// a busy or hung program costs at most that tenth, never a stalled watcher. A read that is
// not answered in time yields the empty text (or the "no answer" value named below); a
// command that is not answered in time returns false ("not done"). A window that does not
// exist behaves the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "watcher/window_handle.h"

namespace vantor {

struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// Virtual-key codes the engine samples.
namespace vk {
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;  // Alt
inline constexpr int kEscape = 0x1B;
inline constexpr int kUp = 0x26;
inline constexpr int kDown = 0x28;
inline constexpr int kA = 0x41;
}  // namespace vk

// Window styles and system commands the engine uses.
inline constexpr std::uint32_t kStyleMaximize = 0x01000000;  // WS_MAXIMIZE
inline constexpr unsigned kScClose = 0xF060;
inline constexpr unsigned kScMaximize = 0xF030;
inline constexpr unsigned kScMinimize = 0xF020;
inline constexpr int kSwHide = 0;

// BM_GETCHECK answers.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kNoAnswer = -1;  // not answered in time, or no such window

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // --- window tree and attributes (0 or empty for a window that does not exist) ---
    virtual WindowHandle ForegroundWindow() = 0;
    virtual WindowHandle FirstChild(WindowHandle window) = 0;   // GetWindow GW_CHILD
    virtual WindowHandle NextSibling(WindowHandle window) = 0;  // GetWindow GW_HWNDNEXT
    virtual WindowHandle Parent(WindowHandle window) = 0;
    // IsChild: window is a descendant of parent (a child, a child's child...), both existing.
    virtual bool IsChild(WindowHandle parent, WindowHandle window) = 0;
    // GetClassNameA with a 255-byte buffer: at most 254 bytes, up to the first NUL.
    virtual std::string ClassName(WindowHandle window) = 0;
    // GetWindowTextA with a 1024-byte buffer: at most 1023 bytes.
    virtual std::string WindowText(WindowHandle window) = 0;
    virtual bool IsVisible(WindowHandle window) = 0;
    virtual bool IsIconic(WindowHandle window) = 0;
    virtual std::uint32_t Style(WindowHandle window) = 0;  // GWL_STYLE
    virtual WindowRect Rect(WindowHandle window) = 0;
    virtual WindowHandle WindowFromPoint(std::int32_t x, std::int32_t y) = 0;
    // Every top-level window in z-order, hidden ones included; stops when visit returns false.
    virtual void EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) = 0;
    // The id of the process that owns the window (GetWindowThreadProcessId); 0 when it is gone.
    virtual std::uint32_t ProcessIdOf(WindowHandle window) = 0;
    // The window with the keyboard focus in the thread that owns window, or 0 when the
    // input state of that thread cannot be reached.
    virtual WindowHandle FocusedControlOf(WindowHandle window) = 0;

    // --- control text: WM_GETTEXTLENGTH, then WM_GETTEXT ---
    // The length the control reports, as it reports it (it may be negative or absurd);
    // 0 when not answered in time.
    virtual std::int64_t TextLength(WindowHandle window) = 0;
    // Sends WM_GETTEXT with wParam = size into buffer[0..size). Returns the count the
    // control reports having copied, or -1 when not answered in time. The caller clears
    // the buffer first; bytes the control does not write stay zero.
    virtual std::int64_t ReadText(WindowHandle window, char* buffer, std::size_t size) = 0;

    // --- commands; each returns false when the target did not take it in time ---
    virtual bool SetText(WindowHandle window, std::string_view text) = 0;  // SetWindowTextA
    virtual bool Click(WindowHandle button) = 0;                           // BM_CLICK
    virtual int GetCheck(WindowHandle button) = 0;              // BM_GETCHECK, or kNoAnswer
    virtual bool SetCheck(WindowHandle button, int state) = 0;  // BM_SETCHECK
    virtual bool SysCommand(WindowHandle window, unsigned command) = 0;  // WM_SYSCOMMAND
    virtual bool Show(WindowHandle window, int showCommand) = 0;         // ShowWindow

    // --- edit controls; positions are the control's 0-based character offsets ---
    // EM_GETSEL: false (and 0, 0) when not answered in time.
    virtual bool GetSelection(WindowHandle edit, std::int32_t& start, std::int32_t& end) = 0;
    virtual bool SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) = 0;
    // EM_REPLACESEL with wParam 0 (the replacement cannot be undone).
    virtual bool ReplaceSelection(WindowHandle edit, std::string_view text) = 0;

    // --- keyboard and time ---
    // GetAsyncKeyState: non-zero when the key is down now or was pressed since the last query.
    virtual std::int16_t AsyncKeyState(int virtualKey) = 0;
    // GetKeyState: the key's state as the calling thread's input saw it (negative: down).
    virtual std::int16_t KeyState(int virtualKey) = 0;
    // GetCursorPos in screen coordinates; false when it cannot be read.
    virtual bool CursorPos(std::int32_t& x, std::int32_t& y) = 0;
    virtual std::uint32_t TickCount() = 0;  // GetTickCount
    // Waits; false when the wait was cut short because the watcher is being disabled or the
    // program ends (the caller then does nothing more in this tick).
    virtual bool Sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace vantor
