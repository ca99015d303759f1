// Another program with a dialog that looks like an OK message (class #32770, a text label and
// one OK button) but misbehaves:
//   app_dialog late CAPTION TEXT DELAY_MS   the label is empty when the dialog shows and gets
//                                           TEXT DELAY_MS later; the program keeps pumping
//   app_dialog hung CAPTION TEXT            shown, then the program never pumps again
//   app_dialog choice CAPTION TEXT          the label TEXT, a drop-down list of printers and
//                                           OK: a question, no plain message
// Prints "shown" once the dialog is visible. "late" and "choice" exit with 1 when OK is
// pressed (2 when the dialog is closed otherwise, 3 when nobody answered within 30 s); "hung"
// sleeps 60 s.
// Exit code 100: bad arguments; 101: the dialog could not be created.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kLabelId = 100;
constexpr int kListId = 101;
constexpr UINT_PTR kLateTextTimer = 1;
constexpr UINT_PTR kGiveUpTimer = 2;

std::string g_lateText;
int g_result = 0;

// A dialog template in memory: the header, then each item on a DWORD boundary.
class Template {
  public:
    Template(const char* caption, short cx, short cy, int items) {
        Word(LOWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE));
        Word(HIWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE));
        for (WORD w : {WORD(0), WORD(0), WORD(items), WORD(0), WORD(0), WORD(cx), WORD(cy)}) {
            Word(w);  // extended style, items, x, y, cx, cy
        }
        Word(0);  // no menu
        Word(0);  // the dialog class
        Text(caption);
        Word(8);
        Text("MS Shell Dlg");
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const char* text) {
        while (words_.size() % 2) Word(0);
        style |= WS_CHILD | WS_VISIBLE;
        for (WORD w : {LOWORD(style), HIWORD(style), WORD(0), WORD(0), WORD(x), WORD(y),
                       WORD(cx), WORD(cy), id, WORD(0xFFFF), atom}) {
            Word(w);  // style, extended style, position, size, id, class
        }
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Text(const char* text) {
        for (const char* p = text; *p; ++p) Word(static_cast<unsigned char>(*p));
        Word(0);
    }
    std::vector<WORD> words_;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_TIMER:
            if (wParam == kLateTextTimer) {
                KillTimer(dialog, kLateTextTimer);
                SetDlgItemTextA(dialog, kLabelId, g_lateText.c_str());
            } else {
                g_result = 3;
                DestroyWindow(dialog);
            }
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == kListId) return FALSE;  // the list's own notifications
            g_result = LOWORD(wParam) == IDOK ? 1 : 2;
            DestroyWindow(dialog);
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool late = argc == 5 && std::strcmp(argv[1], "late") == 0;
    const bool hung = argc == 4 && std::strcmp(argv[1], "hung") == 0;
    const bool choice = argc == 4 && std::strcmp(argv[1], "choice") == 0;
    if (!late && !hung && !choice) {
        std::printf("usage: app_dialog late CAPTION TEXT DELAY_MS | hung|choice CAPTION TEXT\n");
        return 100;
    }
    if (late) g_lateText = argv[3];
    Template t(argv[2], 180, 70, choice ? 3 : 2);
    t.Item(SS_LEFT, 10, 10, 160, choice ? 12 : 30, kLabelId, 0x0082, late ? "" : argv[3]);
    if (choice) {
        t.Item(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 10, 26, 160, 60, kListId, 0x0085, "");
    }
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 65, 48, 50, 14, IDOK, 0x0080, "OK");
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t.Get(), nullptr,
                                             DialogProc, 0);
    if (!dialog) return 101;
    SetForegroundWindow(dialog);
    std::printf("shown\n");
    std::fflush(stdout);
    if (hung) {
        Sleep(60000);  // answers nothing meanwhile
        return 0;
    }
    for (const char* printer : {"Printer in the hall", "Printer at the desk"})
        SendDlgItemMessageA(dialog, kListId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(printer));
    if (late) SetTimer(dialog, kLateTextTimer, static_cast<UINT>(std::atoi(argv[4])), nullptr);
    SetTimer(dialog, kGiveUpTimer, 30000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &msg)) DispatchMessageA(&msg);
    }
    std::printf("result %d\n", g_result);
    std::fflush(stdout);
    return g_result;
}
