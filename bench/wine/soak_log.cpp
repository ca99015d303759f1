// Reads the running vantor.exe's message log the way a user pages through it, or ends it.
//   soak_log dump   shows the newest entry, then steps back with "Previous message" until
//                   the first-message note; prints each entry as "entry<TAB>CAPTION<TAB>TEXT"
//                   (line breaks in TEXT as \r and \n), newest first, then "entries N"
//   soak_log exit   Exit, as the tray menu's item does
// Exit code 0, 1 when no running vantor.exe was found, 2 when the dump did not reach the note.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ui/menus.h"
#include "ui/message_window_win32.h"

namespace {

std::string Text(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return "<no answer>";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied < length ? copied : length);
    return text;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            out += c;
        }
    }
    return out;
}

bool Command(HWND window, unsigned id) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_COMMAND, id, 0, SMTO_ABORTIFHUNG, 10000, &ignored) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 2 ? argv[1] : "";
    if (mode != "dump" && mode != "exit") {
        std::printf("usage: soak_log dump|exit\n");
        return 100;
    }
    HWND window = FindWindowA(vantor::kMessageWindowClass, nullptr);
    if (!window) return 1;
    if (mode == "exit") {
        PostMessageA(window, WM_COMMAND, vantor::kCmdExit, 0);
        return 0;
    }
    Command(window, vantor::kCmdLastMessage);
    HWND text = FindWindowExA(window, nullptr, "Edit", nullptr);
    int entries = 0;
    for (int step = 0; step < 100000; ++step) {
        char caption[1024] = {};
        GetWindowTextA(window, caption, sizeof caption);
        const std::string body = Text(text);
        if (std::strcmp(caption, "Vantor") == 0 && body == "It was first message.") {
            std::printf("entries %d\n", entries);
            return 0;
        }
        std::printf("entry\t%s\t%s\n", Escaped(caption).c_str(), Escaped(body).c_str());
        ++entries;
        Command(window, vantor::kCmdPrevious);
    }
    std::printf("entries %d (no end)\n", entries);
    return 2;
}
