// A user's hands for the end-to-end tests: popup menus picked with the keys, real key
// presses and mouse clicks (SendInput here, or through another process with tools/press_keys),
// and the mouse pointer.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace vantor::e2e {

// The popup menu window (class "#32768") of a process, when one is open.
inline HWND OpenMenuOf(DWORD processId) {
    return FindTopLevelWindow({"#32768", std::nullopt, processId, true});
}

// Picks item `index` (0-based, separators not counted) of an open popup menu the way a user
// does with the keyboard: the first Down selects the first item, Enter runs it.
inline void PickMenuItem(HWND menu, int index) {
    for (int i = 0; i <= index; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

// Real key presses: the keys go down in order and up in reverse; `holdMs` between, so that a
// 50 ms poller sees them.
inline void PressKeys(std::initializer_list<WORD> keys, DWORD holdMs = 0) {
    std::vector<INPUT> down, up;
    for (WORD key : keys) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        down.push_back(i);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT i = {};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = *it;
        i.ki.dwFlags = KEYEVENTF_KEYUP;
        up.push_back(i);
    }
    SendInput(static_cast<UINT>(down.size()), down.data(), sizeof(INPUT));
    if (holdMs) Sleep(holdMs);
    SendInput(static_cast<UINT>(up.size()), up.data(), sizeof(INPUT));
}

inline void PressButtons(std::initializer_list<DWORD> buttons) {
    std::vector<INPUT> input;
    for (DWORD flags : buttons) {
        INPUT i = {};
        i.type = INPUT_MOUSE;
        i.mi.dwFlags = flags;
        input.push_back(i);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// Moves the mouse pointer and waits until it rests there. Under Wine a motion of the old
// position that is still on its way can undo a move: it is made again until it holds.
inline void PointerTo(POINT at) {
    auto there = [&] {
        POINT now = {};
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    };
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetCursorPos(at.x, at.y);
        Sleep(40);
        if (!there()) continue;
        Sleep(40);
        if (there()) return;
    }
    ADD_FAILURE() << "the pointer does not stay at " << at.x << "," << at.y;
}

inline RECT WindowRectOf(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

// The centre of a window on the screen.
inline POINT CenterOf(HWND window) {
    const RECT r = WindowRectOf(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The user's keys and mouse buttons through another process (see tools/press_keys.cpp for
// the steps); waits until they are all pressed and released.
inline bool Press(const std::vector<std::string>& steps) {
    Process keys = Process::Start(ToolPath("press_keys"), steps);
    return keys.Started() && keys.WaitExit(10000) == std::optional<DWORD>(0);
}

// The centre of a window on the screen, as "X" "Y" arguments of a mouse step.
inline std::vector<std::string> At(HWND window) {
    const POINT center = CenterOf(window);
    return {std::to_string(center.x), std::to_string(center.y)};
}

// A real left click in the middle of a window (a control of another program).
inline void ClickAt(HWND window) {
    const POINT center = CenterOf(window);
    INPUT input[3] = {};
    for (INPUT& i : input) {
        i.type = INPUT_MOUSE;
        i.mi.dx = MulDiv(center.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        i.mi.dy = MulDiv(center.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

}  // namespace vantor::e2e
