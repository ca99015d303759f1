#include "watcher/scanner.h"

#include <vector>

#include "base/text.h"
#include "watcher/keyboard_helpers.h"
#include "watcher/window_readings.h"

namespace vantor {

Scanner::Scanner(WindowSystem& ws, const ProgramLists& lists, MessageSink& sink,
                 const LiveOptions& options, const SharedRunTexts& texts)
    : ws_(ws), lists_(lists), options_(options), closer_(ws, lists, sink, options, texts) {}

void Scanner::Reset() {
    closer_.Reset();
    newWindows_.Clear();
    lastFullScanTick_ = 0;
    lastCaseChangeTick_ = 0;
}

void Scanner::FullPass() {
    ws_.EnumTopLevelWindows([this](WindowHandle window) {
        closer_.ExamineWindow(window, false);
        return true;
    });
}

void Scanner::LookAtNewWindows() {
    // A burst: the answers of more windows come in while these are looked at (a click waits
    // for its program), so this goes on until none is left, rather than one batch a wake-up.
    for (std::vector<WindowHandle> taken = newWindows_.TakeAnswered(); !taken.empty();
         taken = newWindows_.TakeAnswered()) {
        for (WindowHandle window : taken) closer_.LookEarly(window);
    }
}

void Scanner::ScannerTick() {
    const WindowHandle fg = ws_.ForegroundWindow();
    auto pressed = [this](int key) { return ws_.AsyncKeyState(key) != 0; };

    // Esc over Alt+Up/Down over Ctrl+A: a key of lower priority is not even sampled.
    bool esc = false, alt = false, up = false, down = false, ctrl = false, a = false;
    if (options_.CloseYesNo()) esc = pressed(vk::kEscape);
    if (!esc) {
        if (options_.ChangeCase()) {
            alt = pressed(vk::kMenu);
            up = pressed(vk::kUp);
            down = pressed(vk::kDown);
            if (!alt || (!up && !down)) alt = up = down = false;
        }
        if (!alt && options_.SelectAll()) {
            ctrl = pressed(vk::kControl);
            a = pressed(vk::kA);
            if (!(ctrl && a)) {
                ctrl = a = false;
                lastCaseChangeTick_ = kKeysReleased;
            }
        }
    }

    if (up || down || a) {
        const WindowHandle focus = FocusedControlOf(ws_, fg);
        const std::string name = UpperCase1251(WindowClassName(ws_, focus));
        const ListSnapshot edits = lists_.Snapshot(ListKind::Edit);
        if (edits && IsListedClass(*edits, name)) {
            if (ctrl && a) {
                SelectAllText(ws_, focus);
                return;
            }
            if (alt) {
                const std::int64_t since = static_cast<std::int32_t>(
                    ws_.TickCount() - static_cast<std::uint32_t>(lastCaseChangeTick_));
                if (since >= kCaseChangeRepeat || since <= -kCaseChangeRepeat ||
                    lastCaseChangeTick_ == kKeysReleased) {
                    const std::string text = ControlText(ws_, focus);
                    ChangeCaseAtCaret(ws_, focus, text, up, options_.ChangeCaseFirst());
                    lastCaseChangeTick_ = static_cast<std::int32_t>(ws_.TickCount());
                    return;
                }
            }
        }
    }

    closer_.ExamineWindow(fg, esc);

    if (ws_.TickCount() - lastFullScanTick_ > kFullScanInterval) {
        FullPass();
        lastFullScanTick_ = ws_.TickCount();
    }
}

}  // namespace vantor
