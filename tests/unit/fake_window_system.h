// A window manager in memory for the engine's tests: a tree of windows of several
// "programs", key states, a virtual clock that Sleep advances, and a record of every
// message and sleep, in order, written as short lines ("BM_CLICK 5", "Sleep 100").
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "recording_sink.h"
#include "watcher/window_system.h"

namespace vantor::testing {

struct FakeWindow {
    WindowHandle handle = 0;
    WindowHandle parent = 0;             // 0 for top-level windows
    std::vector<WindowHandle> children;  // z-order, top first
    std::string cls;
    std::string text;
    bool alive = true;
    bool visible = true;
    bool iconic = false;
    std::uint32_t style = 0;
    WindowRect rect;
    std::uint32_t thread = 1;
    bool hung = false;          // answers no message (the bounded wait runs out)
    bool slowCommands = false;  // answers reads, but commands run out of time
    int check = 0;
    std::int32_t selStart = 0;
    std::int32_t selEnd = 0;
    // Behaviour on commands.
    bool clickClosesDialog = false;  // BM_CLICK destroys the top-level window it belongs to
    bool clickHidesDialog = false;   // BM_CLICK hides it and it stays the foreground
                                     // window for a moment, as under Wine
    bool clickEndsDialog = false;    // BM_CLICK hides it, and it is no longer the foreground
    bool clickToggles = false;       // BM_CLICK flips the check state (check boxes)
    bool closeOnSysClose = true;     // SC_CLOSE destroys the window
    std::function<void()> onClick;   // runs while BM_CLICK waits (what reaches the sender then)
    // Odd controls: a reported length other than the text's, and what WM_GETTEXT writes.
    std::optional<std::int64_t> reportedLength;
    std::optional<std::string> writtenText;
    std::uint32_t answerMs = 0;  // how long each text read takes on the virtual clock
};

class FakeWindowSystem : public WindowSystem, public Timeline {
  public:
    FakeWindowSystem();

    // --- building the desktop ---
    WindowHandle AddTopLevel(std::string cls, std::string text, std::uint32_t thread = 1);
    WindowHandle AddChild(WindowHandle parent, std::string cls, std::string text);
    FakeWindow& Window(WindowHandle handle);
    const FakeWindow& Window(WindowHandle handle) const;
    void Destroy(WindowHandle handle);
    void SetForeground(WindowHandle handle) { foreground_ = handle; }
    void SetFocus(std::uint32_t thread, WindowHandle control) { focus_[thread] = control; }
    void SetAttachFails(bool fails) { attachFails_ = fails; }
    // A broken chain, as a window tree that changes under a walk can present it: from now on
    // GetWindow of `from` answers `to` (GW_HWNDNEXT or GW_CHILD), whatever the tree holds.
    void LinkNext(WindowHandle from, WindowHandle to) { nextLinks_[from] = to; }
    void LinkFirstChild(WindowHandle from, WindowHandle to) { childLinks_[from] = to; }
    // How many GW_CHILD and GW_HWNDNEXT steps were asked for since the start; beyond the
    // limit every step answers 0, so a walk that would never end fails its test instead.
    std::size_t chainSteps = 0;
    std::size_t chainStepLimit = 10'000'000;
    // How many captions were read (GetWindowTextA has no message to record, but each read
    // is a round trip to the window manager).
    std::size_t captionReads = 0;

    // --- keyboard and clock ---
    void Hold(int virtualKey) { keys_[virtualKey] = static_cast<std::int16_t>(0x8000); }
    void ReleaseAll() { keys_.clear(); }
    void Advance(std::uint32_t ms) { now_ += ms; }
    void SetNow(std::uint32_t ms) { now_ = ms; }
    std::uint32_t Now() const { return now_; }

    // --- the record ---
    const std::vector<std::string>& Log() const { return log_; }
    // The record without the reads (WM_GETTEXTLENGTH, WM_GETTEXT, BM_GETCHECK, EM_GETSEL).
    std::vector<std::string> Commands() const;
    void ClearLog() { log_.clear(); }
    // A line from another party (the message sink), recorded in the same sequence as the
    // messages, so that a test sees which came first.
    void Note(std::string line) override { log_.push_back(std::move(line)); }
    bool recordReads = true;

    // --- WindowSystem ---
    WindowHandle ForegroundWindow() override { return foreground_; }
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
    // A program's id stands for its process: each fake program has one thread.
    std::uint32_t ProcessIdOf(WindowHandle window) override {
        const FakeWindow* w = Find(window);
        return w && w->alive ? w->thread : 0;
    }
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
    std::int16_t KeyState(int virtualKey) override { return AsyncKeyState(virtualKey); }
    bool CursorPos(std::int32_t& x, std::int32_t& y) override {
        x = cursorX;
        y = cursorY;
        return true;
    }
    std::int32_t cursorX = 0;
    std::int32_t cursorY = 0;
    std::uint32_t TickCount() override { return now_; }
    bool Sleep(std::uint32_t milliseconds) override;
    bool sleepsCancelled = false;  // as after Disable or Exit: every Sleep ends at once

  private:
    FakeWindow* Find(WindowHandle handle);
    // Records one line; true when the window exists and answers.
    bool Send(WindowHandle window, const std::string& line);
    WindowHandle TopLevelOf(WindowHandle handle);

    std::vector<FakeWindow> windows_;  // index = handle; 0 unused
    std::vector<WindowHandle> topLevel_;
    WindowHandle foreground_ = 0;
    std::map<std::uint32_t, WindowHandle> focus_;
    std::map<int, std::int16_t> keys_;
    bool attachFails_ = false;
    std::map<WindowHandle, WindowHandle> nextLinks_;
    std::map<WindowHandle, WindowHandle> childLinks_;
    std::uint32_t now_ = 100000;
    std::vector<std::string> log_;
};

// "BM_CLICK 5", "EM_SETSEL 7 2 5": one record line.
std::string Msg(const std::string& name, WindowHandle window, const std::string& args = "");
// Both sequences, one line each, side by side, for a failure message.
std::string DumpSequences(const std::vector<std::string>& expected,
                          const std::vector<std::string>& actual);

}  // namespace vantor::testing
