#include "fake_window_system.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace vantor::testing {

std::string Msg(const std::string& name, WindowHandle window, const std::string& args) {
    std::string line = name + " " + std::to_string(window);
    if (!args.empty()) line += " " + args;
    return line;
}

std::string DumpSequences(const std::vector<std::string>& expected,
                          const std::vector<std::string>& actual) {
    std::ostringstream out;
    const std::size_t n = std::max(expected.size(), actual.size());
    out << "  #  expected                          | actual\n";
    for (std::size_t i = 0; i < n; ++i) {
        const std::string e = i < expected.size() ? expected[i] : "-";
        const std::string a = i < actual.size() ? actual[i] : "-";
        out << (e == a ? "   " : " * ") << i << " " << e;
        out << std::string(e.size() < 32 ? 32 - e.size() : 1, ' ') << "| " << a << "\n";
    }
    return out.str();
}

namespace {

std::string Quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out.append(1, '\'').append(text).append(1, '\'');
    return out;
}

}  // namespace

FakeWindowSystem::FakeWindowSystem() {
    windows_.emplace_back();
    windows_[0].alive = false;
}

WindowHandle FakeWindowSystem::AddTopLevel(std::string cls, std::string text,
                                           std::uint32_t thread) {
    FakeWindow w;
    w.handle = windows_.size();
    w.cls = std::move(cls);
    w.text = std::move(text);
    w.thread = thread;
    w.rect = {100, 100, 400, 300};
    windows_.push_back(std::move(w));
    topLevel_.push_back(windows_.back().handle);
    return windows_.back().handle;
}

WindowHandle FakeWindowSystem::AddChild(WindowHandle parent, std::string cls, std::string text) {
    FakeWindow w;
    w.handle = windows_.size();
    w.parent = parent;
    w.cls = std::move(cls);
    w.text = std::move(text);
    w.thread = windows_.at(parent).thread;
    w.rect = windows_.at(parent).rect;
    windows_.push_back(std::move(w));
    windows_.at(parent).children.push_back(windows_.back().handle);
    return windows_.back().handle;
}

FakeWindow& FakeWindowSystem::Window(WindowHandle handle) {
    return windows_.at(handle);
}
const FakeWindow& FakeWindowSystem::Window(WindowHandle handle) const {
    return windows_.at(handle);
}

FakeWindow* FakeWindowSystem::Find(WindowHandle handle) {
    if (handle == 0 || handle >= windows_.size() || !windows_[handle].alive) return nullptr;
    return &windows_[handle];
}

void FakeWindowSystem::Destroy(WindowHandle handle) {
    FakeWindow* w = Find(handle);
    if (!w) return;
    const std::vector<WindowHandle> children = w->children;
    for (WindowHandle c : children) Destroy(c);
    w = &windows_[handle];
    w->alive = false;
    w->visible = false;
    auto& siblings = w->parent ? windows_[w->parent].children : topLevel_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    if (foreground_ == handle) foreground_ = 0;
}

WindowHandle FakeWindowSystem::TopLevelOf(WindowHandle handle) {
    while (handle && windows_[handle].parent) handle = windows_[handle].parent;
    return handle;
}

bool FakeWindowSystem::Send(WindowHandle window, const std::string& line) {
    log_.push_back(line);
    const FakeWindow* w = Find(window);
    return w && !w->hung && !w->slowCommands;
}

std::vector<std::string> FakeWindowSystem::Commands() const {
    std::vector<std::string> out;
    for (const auto& line : log_) {
        if (line.rfind("WM_GETTEXT", 0) == 0 || line.rfind("BM_GETCHECK", 0) == 0 ||
            line.rfind("EM_GETSEL", 0) == 0)
            continue;
        out.push_back(line);
    }
    return out;
}

WindowHandle FakeWindowSystem::FirstChild(WindowHandle window) {
    if (++chainSteps > chainStepLimit) return 0;
    if (auto link = childLinks_.find(window); link != childLinks_.end()) return link->second;
    const FakeWindow* w = Find(window);
    return w && !w->children.empty() ? w->children.front() : 0;
}

WindowHandle FakeWindowSystem::NextSibling(WindowHandle window) {
    if (++chainSteps > chainStepLimit) return 0;
    if (auto link = nextLinks_.find(window); link != nextLinks_.end()) return link->second;
    const FakeWindow* w = Find(window);
    if (!w) return 0;
    const auto& siblings = w->parent ? windows_[w->parent].children : topLevel_;
    auto it = std::find(siblings.begin(), siblings.end(), window);
    if (it == siblings.end() || ++it == siblings.end()) return 0;
    return *it;
}

WindowHandle FakeWindowSystem::Parent(WindowHandle window) {
    const FakeWindow* w = Find(window);
    return w ? w->parent : 0;
}

bool FakeWindowSystem::IsChild(WindowHandle parent, WindowHandle window) {
    if (!Find(parent)) return false;
    for (const FakeWindow* w = Find(window); w && w->parent; w = Find(w->parent)) {
        if (w->parent == parent) return true;
    }
    return false;
}

std::string FakeWindowSystem::ClassName(WindowHandle window) {
    const FakeWindow* w = Find(window);
    if (!w) return {};
    // GetClassNameA's 255-byte buffer, up to the first NUL.
    return w->cls.substr(0, std::min<std::size_t>(254, w->cls.find('\0')));
}

std::string FakeWindowSystem::WindowText(WindowHandle window) {
    ++captionReads;
    const FakeWindow* w = Find(window);
    if (!w) return {};
    return w->text.substr(0, std::min<std::size_t>(1023, w->text.find('\0')));
}

bool FakeWindowSystem::IsVisible(WindowHandle window) {
    const FakeWindow* w = Find(window);
    return w && w->visible;
}

bool FakeWindowSystem::IsIconic(WindowHandle window) {
    const FakeWindow* w = Find(window);
    return w && w->iconic;
}

std::uint32_t FakeWindowSystem::Style(WindowHandle window) {
    const FakeWindow* w = Find(window);
    return w ? w->style : 0;
}

WindowRect FakeWindowSystem::Rect(WindowHandle window) {
    const FakeWindow* w = Find(window);
    return w ? w->rect : WindowRect{};
}

WindowHandle FakeWindowSystem::WindowFromPoint(std::int32_t x, std::int32_t y) {
    auto inside = [&](const FakeWindow& w) {
        return w.visible && x >= w.rect.left && x < w.rect.right && y >= w.rect.top &&
               y < w.rect.bottom;
    };
    WindowHandle hit = 0;
    for (WindowHandle h : topLevel_) {
        if (inside(windows_[h])) {
            hit = h;
            break;
        }
    }
    // Descend to the deepest child under the point.
    for (bool deeper = hit != 0; deeper;) {
        deeper = false;
        for (WindowHandle c : windows_[hit].children) {
            if (inside(windows_[c])) {
                hit = c;
                deeper = true;
                break;
            }
        }
    }
    return hit;
}

void FakeWindowSystem::EnumTopLevelWindows(const std::function<bool(WindowHandle)>& visit) {
    const std::vector<WindowHandle> snapshot = topLevel_;
    for (WindowHandle h : snapshot) {
        if (!visit(h)) break;
    }
}

WindowHandle FakeWindowSystem::FocusedControlOf(WindowHandle window) {
    const FakeWindow* w = Find(window);
    if (!w || attachFails_) return 0;
    auto it = focus_.find(w->thread);
    return it == focus_.end() ? 0 : it->second;
}

std::int64_t FakeWindowSystem::TextLength(WindowHandle window) {
    if (recordReads) log_.push_back(Msg("WM_GETTEXTLENGTH", window));
    const FakeWindow* w = Find(window);
    if (!w || w->hung) return 0;
    now_ += w->answerMs;
    return w->reportedLength ? *w->reportedLength : static_cast<std::int64_t>(w->text.size());
}

std::int64_t FakeWindowSystem::ReadText(WindowHandle window, char* buffer, std::size_t size) {
    if (recordReads) log_.push_back(Msg("WM_GETTEXT", window, std::to_string(size)));
    const FakeWindow* w = Find(window);
    if (!w || w->hung) return -1;
    now_ += w->answerMs;
    if (size == 0) return 0;
    const std::string& text = w->writtenText ? *w->writtenText : w->text;
    // As WM_GETTEXT: at most size - 1 bytes and a terminating NUL.
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<std::int64_t>(n);
}

bool FakeWindowSystem::SetText(WindowHandle window, std::string_view text) {
    if (!Send(window, Msg("WM_SETTEXT", window, Quoted(text)))) return false;
    windows_[window].text = std::string(text);
    return true;
}

bool FakeWindowSystem::Click(WindowHandle button) {
    const bool taken = Send(button, Msg("BM_CLICK", button));
    if (const auto onClick = windows_[button].onClick) onClick();
    if (!taken) return false;
    FakeWindow& w = windows_[button];
    if (w.clickToggles) w.check = w.check ? 0 : 1;
    if (w.clickHidesDialog) windows_[TopLevelOf(button)].visible = false;
    if (w.clickClosesDialog) Destroy(TopLevelOf(button));
    if (w.clickEndsDialog) {
        const WindowHandle dialog = TopLevelOf(button);
        windows_[dialog].visible = false;
        if (foreground_ == dialog) foreground_ = 0;
    }
    return true;
}

int FakeWindowSystem::GetCheck(WindowHandle button) {
    if (recordReads) log_.push_back(Msg("BM_GETCHECK", button));
    const FakeWindow* w = Find(button);
    return w && !w->hung ? w->check : kNoAnswer;
}

bool FakeWindowSystem::SetCheck(WindowHandle button, int state) {
    if (!Send(button, Msg("BM_SETCHECK", button, std::to_string(state)))) return false;
    windows_[button].check = state;
    return true;
}

bool FakeWindowSystem::SysCommand(WindowHandle window, unsigned command) {
    const char* name = command == kScClose      ? "SC_CLOSE"
                       : command == kScMaximize ? "SC_MAXIMIZE"
                       : command == kScMinimize ? "SC_MINIMIZE"
                                                : "?";
    if (!Send(window, Msg("WM_SYSCOMMAND", window, name))) return false;
    FakeWindow& w = windows_[window];
    if (command == kScClose && w.closeOnSysClose) Destroy(window);
    if (command == kScMaximize) w.style |= kStyleMaximize;
    if (command == kScMinimize) w.iconic = true;
    return true;
}

bool FakeWindowSystem::Show(WindowHandle window, int showCommand) {
    if (!Send(window, Msg("ShowWindow", window, std::to_string(showCommand)))) return false;
    if (showCommand == kSwHide) windows_[window].visible = false;
    return true;
}

bool FakeWindowSystem::GetSelection(WindowHandle edit, std::int32_t& start, std::int32_t& end) {
    if (recordReads) log_.push_back(Msg("EM_GETSEL", edit));
    const FakeWindow* w = Find(edit);
    if (!w || w->hung) {
        start = end = 0;
        return false;
    }
    start = w->selStart;
    end = w->selEnd;
    return true;
}

bool FakeWindowSystem::SetSelection(WindowHandle edit, std::int32_t start, std::int32_t end) {
    if (!Send(edit, Msg("EM_SETSEL", edit, std::to_string(start) + " " + std::to_string(end))))
        return false;
    FakeWindow& w = windows_[edit];
    const auto len = static_cast<std::int32_t>(w.text.size());
    // As an edit control: -1 as the end means the end of the text; positions are clamped.
    if (end < 0) end = len;
    if (start < 0) start = end;
    start = std::min(start, len);
    end = std::min(end, len);
    if (start > end) std::swap(start, end);
    w.selStart = start;
    w.selEnd = end;
    return true;
}

bool FakeWindowSystem::ReplaceSelection(WindowHandle edit, std::string_view text) {
    if (!Send(edit, Msg("EM_REPLACESEL", edit, Quoted(text)))) return false;
    FakeWindow& w = windows_[edit];
    w.text.replace(static_cast<std::size_t>(w.selStart),
                   static_cast<std::size_t>(w.selEnd - w.selStart), text);
    w.selStart = w.selEnd = w.selStart + static_cast<std::int32_t>(text.size());
    return true;
}

std::int16_t FakeWindowSystem::AsyncKeyState(int virtualKey) {
    auto it = keys_.find(virtualKey);
    return it == keys_.end() ? 0 : it->second;
}

bool FakeWindowSystem::Sleep(std::uint32_t milliseconds) {
    log_.push_back("Sleep " + std::to_string(milliseconds));
    if (sleepsCancelled) return false;
    now_ += milliseconds;
    return true;
}

}  // namespace vantor::testing
