// Another program showing a dialog that looks like a message box (static text and an OK
// button) but also holds an edit control, so it must never be answered from outside.
//   app_edit_dialog CAPTION TEXT SECONDS
// Ends by itself after SECONDS with exit code 99; exits 1 (IDOK) when someone pressed OK.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Align(std::vector<WORD>& t) {
    if (t.size() % 2) t.push_back(0);  // DLGITEMTEMPLATE starts on a DWORD boundary
}

void PushText(std::vector<WORD>& t, const char* text) {
    for (const char* p = text; *p; ++p) t.push_back(static_cast<unsigned char>(*p));
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

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            SetTimer(dialog, 1, g_seconds * 1000, nullptr);
            return TRUE;
        case WM_TIMER:
            EndDialog(dialog, 99);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
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
    if (argc != 4) {
        std::printf("usage: app_edit_dialog CAPTION TEXT SECONDS\n");
        return 100;
    }
    g_seconds = static_cast<UINT>(std::atoi(argv[3]));
    std::vector<WORD> t;
    PushDword(t, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | WS_VISIBLE);
    PushDword(t, 0);
    t.push_back(3);  // items
    t.push_back(0);
    t.push_back(0);
    t.push_back(200);
    t.push_back(80);
    t.push_back(0);  // no menu
    t.push_back(0);  // default class
    PushText(t, argv[1]);
    AddItem(t, SS_LEFT, 10, 10, 180, 12, 0xFFFF, 0x0082, argv[2]);
    AddItem(t, WS_BORDER | ES_AUTOHSCROLL, 10, 28, 180, 14, 100, 0x0081, "");
    AddItem(t, BS_DEFPUSHBUTTON | WS_TABSTOP, 75, 55, 50, 14, IDOK, 0x0080, "OK");
    const INT_PTR result =
        DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<DLGTEMPLATE*>(t.data()),
                                nullptr, DialogProc, 0);
    std::printf("result %d\n", static_cast<int>(result));
    return static_cast<int>(result);
}
