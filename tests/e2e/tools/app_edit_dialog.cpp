// Another program showing a dialog of its own that looks like a message box:
//   app_edit_dialog CAPTION TEXT SECONDS [KIND [BUTTON]]
// KIND "edit" (the default): static text, an edit control and an OK button, so it must never
// be answered from outside; "plain": static text and the OK button only, a plain message for
// the watcher; "yesno": static text, "&Yes" and "&No", and Esc does nothing (as on Windows;
// Wine's own Yes/No boxes close on Esc by themselves). BUTTON is the OK button's text
// (default "OK"). Ends by itself after SECONDS with exit code 99; otherwise exits with the id
// of the button pressed (IDOK 1, IDYES 6, IDNO 7).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Align(std::vector<WORD>& t) {
    if (t.size() % 2) t.push_back(0);  // DLGITEMTEMPLATE starts on a DWORD boundary
}

// The template holds UTF-16: the text is converted from the system's code page, so that
// Cyrillic arguments (code page 1251) arrive as the letters they are.
void PushText(std::vector<WORD>& t, const char* text) {
    wchar_t wide[512] = {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 512);
    for (int i = 0; i + 1 < length; ++i) t.push_back(static_cast<WORD>(wide[i]));
    t.push_back(0);
}

void PushDword(std::vector<WORD>& t, DWORD value) {
    t.push_back(LOWORD(value));
    t.push_back(HIWORD(value));
}

void AddItem(std::vector<WORD>& t, DWORD style, short x, short y, short cx, short cy, WORD id,
             WORD atom, const char* text) {
    Align(t);
    PushDword(t, WS_CHILD | WS_VISIBLE | style);
    PushDword(t, 0);
    t.push_back(x);
    t.push_back(y);
    t.push_back(cx);
    t.push_back(cy);
    t.push_back(id);
    t.push_back(0xFFFF);
    t.push_back(atom);
    PushText(t, text);
    t.push_back(0);  // no creation data
}

UINT g_seconds = 10;
bool g_yesNo = false;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetTimer(dialog, 1, g_seconds * 1000, nullptr);
            return TRUE;
        case WM_TIMER:
            EndDialog(dialog, 99);
            return TRUE;
        case WM_COMMAND:
            if (g_yesNo && (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO)) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            if (!g_yesNo && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 6) {
        std::printf("usage: app_edit_dialog CAPTION TEXT SECONDS [KIND [BUTTON]]\n");
        return 100;
    }
    g_seconds = static_cast<UINT>(std::atoi(argv[3]));
    const std::string kind = argc > 4 ? argv[4] : "edit";
    const char* button = argc > 5 ? argv[5] : "OK";
    const bool edit = kind == "edit";
    g_yesNo = kind == "yesno";
    std::vector<WORD> t;
    PushDword(t, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE);
    PushDword(t, 0);
    t.push_back(edit || g_yesNo ? 3 : 2);  // items
    t.push_back(0);
    t.push_back(0);
    t.push_back(200);
    t.push_back(80);
    t.push_back(0);  // no menu
    t.push_back(0);  // default class
    PushText(t, argv[1]);
    AddItem(t, SS_LEFT, 10, 10, 180, 12, 0xFFFF, 0x0082, argv[2]);
    if (edit) AddItem(t, WS_BORDER | ES_AUTOHSCROLL, 10, 28, 180, 14, 100, 0x0081, "");
    if (g_yesNo) {
        AddItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 45, 55, 50, 14, IDYES, 0x0080, "&Yes");
        AddItem(t, BS_PUSHBUTTON | WS_TABSTOP, 105, 55, 50, 14, IDNO, 0x0080, "&No");
    } else {
        AddItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 75, 55, 50, 14, IDOK, 0x0080, button);
    }
    const INT_PTR result =
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<DLGTEMPLATE*>(t.data()),
                                nullptr, DialogProc, 0);
    std::printf("result %d\n", static_cast<int>(result));
    return static_cast<int>(result);
}
