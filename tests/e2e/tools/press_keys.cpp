// The user's hands: presses key chords and mouse buttons with SendInput, as the keyboard
// and the mouse would, into whatever window has the focus or lies under the pointer.
//   press_keys STEP...
// A step is a key chord such as "alt+up", "ctrl+a", "shift+f10", "esc", "apps" (modifiers
// alt, ctrl, shift; keys a-z, 0-9, up, down, left, right, esc, enter, tab, apps, f1-f12),
// or a mouse step "click X Y", "dblclick X Y", "rclick X Y" (screen pixels). A chord is held
// for 150 ms: shorter taps can fall between two 50 ms samples of a watcher.
// Exit code 0, or 100 for a step it does not know (nothing is pressed then).
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kHoldMs = 150;

int KeyCode(const std::string& name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return std::toupper(static_cast<unsigned char>(name[0]));
    }
    static const struct {
        const char* name;
        int vk;
    } keys[] = {{"alt", VK_MENU},     {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT}, {"up", VK_UP},
                {"down", VK_DOWN},    {"left", VK_LEFT},    {"right", VK_RIGHT}, {"esc", VK_ESCAPE},
                {"enter", VK_RETURN}, {"tab", VK_TAB},      {"apps", VK_APPS},   {"pgup", VK_PRIOR},
                {"pgdn", VK_NEXT}};
    for (const auto& k : keys) {
        if (name == k.name) return k.vk;
    }
    if (name.size() >= 2 && name[0] == 'f') {
        const int n = std::atoi(name.c_str() + 1);
        if (n >= 1 && n <= 12) return VK_F1 + n - 1;
    }
    return 0;
}

bool IsExtended(int vk) {
    return vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_APPS ||
           vk == VK_PRIOR || vk == VK_NEXT;
}

INPUT Key(int vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = static_cast<WORD>(vk);
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return in;
}

// "alt+up" -> {VK_MENU, VK_UP}; empty when a part is unknown.
std::vector<int> Chord(const std::string& text) {
    std::vector<int> keys;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t plus = text.find('+', start);
        const std::string part =
            text.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        const int vk = KeyCode(part);
        if (vk == 0) return {};
        keys.push_back(vk);
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    return keys;
}

void PressChord(const std::vector<int>& keys) {
    for (int vk : keys) {
        INPUT in = Key(vk, false);
        SendInput(1, &in, sizeof in);
        Sleep(20);
    }
    Sleep(kHoldMs);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        INPUT in = Key(*it, true);
        SendInput(1, &in, sizeof in);
        Sleep(20);
    }
}

void Button(DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

void Click(bool right, int times) {
    for (int i = 0; i < times; ++i) {
        Button(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
        Sleep(30);
        Button(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
        Sleep(30);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Check every step before pressing anything: a typo must not leave keys half pressed.
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        if (step == "click" || step == "dblclick" || step == "rclick") {
            if (i + 2 >= argc) return 100;
            i += 2;
        } else if (Chord(step).empty()) {
            std::fprintf(stderr, "press_keys: unknown step '%s'\n", argv[i]);
            return 100;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        if (step == "click" || step == "dblclick" || step == "rclick") {
            SetCursorPos(std::atoi(argv[i + 1]), std::atoi(argv[i + 2]));
            Sleep(50);
            Click(step == "rclick", step == "dblclick" ? 2 : 1);
            i += 2;
        } else {
            PressChord(Chord(step));
        }
        Sleep(50);
    }
    return 0;
}
