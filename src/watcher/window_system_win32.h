// The window system over user32, for the Windows build only. Messages to other threads'
// windows go through a BoundedSender (bounded_send_win32.h), so a hung program never
// stalls the timer thread; the system's window events (window_events_win32.h) keep the
// foreground cache and tell a listener of other programs' new windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "watcher/foreground_cache.h"
#include "watcher/class_names.h"
#include "watcher/window_events_win32.h"
#include "watcher/window_system.h"

namespace vantor {

class BoundedSender;

// Safe to use from several threads at once.
class Win32WindowSystem : public WindowSystem {
  public:
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    // Ends every Sleep at once, now and until ResumeSleeps: called by Disable and at exit,
    // so that an advanced-list wait never holds up either.
    void CancelSleeps();
    void ResumeSleeps();

    // Brackets one timer tick on the calling thread: within it the foreground window is read
    // from the system once and reused until something is sent or shown.
    void BeginTick();
    void EndTick();

    // On the GUI thread, whose message loop then receives the system's window events
    // (created, shown, hidden, destroyed, focused, foreground): from then on ticks read the
    // foreground window on every tick only for a second after such an event (or a send of
    // ours), and otherwise when their last read is a quarter of a second old. False, and a
    // read on every tick, when the system offers no such events.
    bool WatchForegroundChanges();
    void StopWatchingForegroundChanges();
    // Any thread: who hears of other programs' new top-level windows (nullptr: nobody). The
    // listener runs on the thread that called WatchForegroundChanges.
    void SetTopLevelListener(TopLevelListener* listener) { events_.SetListener(listener); }
    // Any thread: the program of `window` has just answered a message of ours; the next
    // message to it goes out without asking again first.
    void NoteAnswered(WindowHandle window);

    WindowHandle ForegroundWindow() override;
    WindowHandle FirstChild(WindowHandle window) override;
    WindowHandle NextSibling(WindowHandle window) override;
    WindowHandle Parent(WindowHandle window) override;
    bool IsChild(WindowHandle parent, WindowHandle window) override;
    std::string ClassName(WindowHandle window) override;
    std::string WindowText(WindowHandle window) override;
    bool IsVisible(WindowHandle window) override;
    bool IsIconic(WindowHandle window) override;
    std::uint32_t Style(WindowHandle window) override;
    WindowRect Rect(WindowHandle window) override;
    WindowHandle WindowFromPoint(std::int32_t x, std::int32_t y) override;
    void EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) override;
    std::uint32_t ProcessIdOf(WindowHandle window) override;
    WindowHandle FocusedControlOf(WindowHandle window) override;
    std::int64_t TextLength(WindowHandle window) override;
    std::int64_t ReadText(WindowHandle window, char* buffer, std::size_t size) override;
    bool SetText(WindowHandle window, std::string_view text) override;
    bool Click(WindowHandle button) override;
    int GetCheck(WindowHandle button) override;
    bool SetCheck(WindowHandle button, int state) override;
    bool SysCommand(WindowHandle window, unsigned command) override;
    bool Show(WindowHandle window, int showCommand) override;
    bool GetSelection(WindowHandle edit, std::int32_t& start, std::int32_t& end) override;
    bool SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) override;
    bool ReplaceSelection(WindowHandle edit, std::string_view text) override;
    std::int16_t AsyncKeyState(int virtualKey) override;
    std::int16_t KeyState(int virtualKey) override;
    bool CursorPos(std::int32_t& x, std::int32_t& y) override;
    std::uint32_t TickCount() override;
    bool Sleep(std::uint32_t milliseconds) override;

  private:
    void* stopEvent_ = nullptr;  // a manual-reset event; set by CancelSleeps
    ForegroundCache foreground_;
    ClassNames classes_;  // of the windows read lately
    WindowEvents events_;
    std::unique_ptr<BoundedSender> sender_;
};

}  // namespace vantor
