// The form layer with real windows, in this test program's own GUI thread: a dialog built
// from a control table (state kept before its controls exist, the font, group boxes), the
// keyboard through the message loop (Tab, Shift+Tab, arrows, Page Up/Down, Enter, Esc, F1),
// and the message window's buttons and text menu re-texted before and after they exist.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "forms/dialog_form_win32.h"
#include "forms/fault_note.h"
#include "forms/message_loop_win32.h"
#include "forms/mm_timer_win32.h"
#include "forms/popup_menu_win32.h"
#include "forms/program_font_win32.h"
#include "ui/message_window_win32.h"

namespace vantor::e2e {
namespace {

enum : int {
    kGroup = 10,
    kLabel,
    kCheckA,
    kCheckB,
    kCombo,
    kDisabledGroup = 20,
    kInDisabled,
    kHidden,
    kOk = 30,
    kCancel,
    kHelp,
};

// The settings dialog's shapes in small: two group boxes (one disabled), a label, indented
// check boxes that fit their captions, a drop-down list, OK (default), Cancel, Help.
constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr ControlDef kTable[] = {
    {kGroup, "BUTTON", WS_VISIBLE | BS_GROUPBOX, 4, 0, 214, 97, 0, Caption::gbMain},
    {kLabel, "STATIC", WS_VISIBLE, 8, 52, 0, 0, kGroup, Caption::lbLanguage},
    {kCheckA, "BUTTON", kCheck, 8, 16, 0, 0, kGroup, Caption::cbAutoRun},
    {kCheckB, "BUTTON", kCheck, 24, 34, 0, 0, kGroup, Caption::cbChangeCaseFirst},
    {kCombo, "COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 8, 68, 193, 120,
     kGroup, Caption::kNone},
    {kDisabledGroup, "BUTTON", WS_VISIBLE | WS_DISABLED | BS_GROUPBOX, 4, 104, 214, 121, 0,
     Caption::gbMessages},
    {kInDisabled, "BUTTON", kCheck, 8, 16, 0, 0, kDisabledGroup, Caption::cbbtCopy},
    {kHidden, "BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 228, 16, 0, 0, 0, Caption::cbbtExit},
    {kOk, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 8, 242, 75, 25, 0, Caption::btOK},
    {kCancel, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 88, 242, 75, 25, 0,
     Caption::btCancel},
    {kHelp, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 366, 242, 75, 25, 0,
     Caption::btHelp},
};

class TestDialog : public DialogForm {
  public:
    bool Create() {
        if (!CreateForm(GetModuleHandleA(nullptr), "VantorTestDialog", "",
                        WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 100, 100, 460, 310, nullptr, nullptr,
                        nullptr)) {
            return false;
        }
        DialogOptions options;
        options.defaultButton = kOk;
        options.cancelButton = kCancel;
        options.helpContext = 51;
        options.title = Caption::fmSetup;
        SetControlTable(kTable, options);
        return true;
    }
    void Build() { CreateControls(); }

    std::vector<int> clicked;
    std::vector<DWORD> helped;

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            clicked.push_back(LOWORD(wParam));
            result = 0;
            return true;
        }
        return DialogForm::HandleMessage(message, wParam, lParam, result);
    }
    void OnHelp(DWORD context) override { helped.push_back(context); }
};

void SetShift(bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// A key pressed on the focused control, as the loop gets it.
void Press(WPARAM key, bool shift = false) {
    SetShift(shift);
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    Pump(50);
    SetShift(false);
}

TEST(Forms, ControlTableStateBeforeAndAfterCreation) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CaptionSet captions = BuiltInCaptions();
    captions[Caption::cbAutoRun] = "Auto \xE7\xE0\xEF\xF3\xF1\xEA";  // cp1251 text
    captions[Caption::fmSetup] = "Test settings";
    dialog.ApplyCaptions(captions);  // before the controls exist
    dialog.SetChecked(kCheckB, true);
    dialog.SetControlVisible(kOk, true);
    EXPECT_EQ(dialog.Control(kCheckA), nullptr);
    EXPECT_EQ(dialog.ControlText(kCheckA), captions[Caption::cbAutoRun]);
    EXPECT_TRUE(dialog.Checked(kCheckB));
    EXPECT_FALSE(dialog.ControlEnabled(kInDisabled)) << "a disabled group box's control";

    dialog.Build();
    HWND form = dialog.Window();
    EXPECT_EQ(TextOf(form), "Test settings");
    EXPECT_EQ(TextOf(dialog.Control(kCheckA)), captions[Caption::cbAutoRun]);
    EXPECT_EQ(SendMessageA(dialog.Control(kCheckB), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(dialog.Control(kInDisabled)));
    EXPECT_FALSE(GetWindowLongA(dialog.Control(kHidden), GWL_STYLE) & WS_VISIBLE);
    // Group boxes are not parents here: positions are the form's own.
    RECT r = {};
    GetWindowRect(dialog.Control(kInDisabled), &r);
    POINT at = {r.left, r.top};
    ScreenToClient(form, &at);
    EXPECT_EQ(at.x, 4 + 8);
    EXPECT_EQ(at.y, 104 + 16);
    EXPECT_EQ(GetParent(dialog.Control(kInDisabled)), form);
    // A check box with width 0 fits its caption: the box, a gap and the text.
    GetClientRect(dialog.Control(kCheckA), &r);
    HDC dc = GetDC(form);
    HGDIOBJ old = SelectObject(dc, ProgramFont());
    SIZE text = {};
    GetTextExtentPoint32A(dc, captions[Caption::cbAutoRun].c_str(),
                          static_cast<int>(captions[Caption::cbAutoRun].size()), &text);
    SelectObject(dc, old);
    ReleaseDC(form, dc);
    EXPECT_GT(r.right, text.cx);
    EXPECT_LT(r.right, text.cx + 40);
    // Every control in the program's one font: MS Sans Serif, height 10.
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(dialog.Control(kOk), WM_GETFONT, 0, 0)),
              ProgramFont());
    LOGFONTA lf = {};
    GetObjectA(ProgramFont(), sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(lf.lfHeight, 10);

    // A second language's defaults are the controls' texts as they are now.
    dialog.SetControlText(kCheckA, "changed");
    CaptionSet now;
    dialog.ReadCaptions(now);
    EXPECT_EQ(now[Caption::cbAutoRun], "changed");
    EXPECT_EQ(now[Caption::fmSetup], "Test settings");
    EXPECT_EQ(now[Caption::btOK], "OK");

    // WM_NCDESTROY takes the form out of its window.
    EXPECT_EQ(Form::FromWindow(form), &dialog);
    DestroyWindow(form);
    EXPECT_EQ(dialog.Window(), nullptr);
    EXPECT_EQ(Form::FromWindow(form), nullptr);
}

TEST(Forms, KeyboardMovesTheFocusAndPressesTheButtons) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ApplyCaptions(BuiltInCaptions());
    dialog.Build();
    HWND combo = dialog.Control(kCombo);
    for (const char* item : {"one", "two", "three"}) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    ShowWindow(dialog.Window(), SW_SHOW);
    SetForegroundWindow(dialog.Window());
    SetFocus(dialog.Control(kCheckA));
    Pump(50);
    ASSERT_EQ(GetFocus(), dialog.Control(kCheckA));

    auto name = [&](HWND w) {
        for (const ControlDef& def : kTable) {
            if (dialog.Control(def.id) == w) return std::to_string(def.id);
        }
        return std::string("other ") + ClassNameOf(w);
    };
    // Labels, group boxes, the disabled and the hidden control never take the focus.
    const struct {
        WPARAM key;
        bool shift;
        int focus;
    } steps[] = {
        {VK_TAB, false, kCheckB}, {VK_TAB, false, kCombo},   {VK_TAB, false, kOk},
        {VK_TAB, false, kCancel}, {VK_TAB, false, kHelp},    {VK_TAB, false, kCheckA},  // wraps
        {VK_TAB, true, kHelp},    {VK_TAB, true, kCancel},   {VK_LEFT, false, kOk},
        {VK_UP, false, kCombo},   {VK_DOWN, false, kCombo},  // the list keeps its arrows
        {VK_NEXT, false, kCombo}, {VK_TAB, true, kCheckB},   {VK_PRIOR, false, kCheckA},
        {VK_PRIOR, false, kHelp}, {VK_NEXT, false, kCheckA}, {VK_RIGHT, false, kCheckB},
        {VK_DOWN, false, kCombo},
    };
    for (const auto& s : steps) {
        Press(s.key, s.shift);
        EXPECT_EQ(name(GetFocus()), std::to_string(s.focus))
            << "key " << s.key << (s.shift ? " with Shift" : "");
    }
    EXPECT_NE(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0) << "the arrow went to the list";
    EXPECT_TRUE(dialog.clicked.empty());

    // Enter presses the default button, or the push button that has the focus; Esc cancels.
    SetFocus(dialog.Control(kCheckA));
    Press(VK_RETURN);
    SetFocus(dialog.Control(kHelp));
    Press(VK_RETURN);
    Press(VK_ESCAPE);
    EXPECT_EQ(dialog.clicked, (std::vector<int>{kOk, kHelp, kCancel}));
    EXPECT_EQ(SendMessageA(dialog.Control(kCheckA), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // F1 on a check box: WM_HELP with the form's help context (the controls carry none).
    SetFocus(dialog.Control(kCheckB));
    Press(VK_F1);
    HELPINFO help = {sizeof(HELPINFO), HELPINFO_WINDOW, kCancel, dialog.Control(kCancel), 0, {}};
    SendMessageA(dialog.Window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
    EXPECT_EQ(dialog.helped, (std::vector<DWORD>{51, 51}));
    DestroyWindow(dialog.Window());
}

// A window whose handler throws on WM_APP.
class ThrowingForm : public Form {
  public:
    bool Create() {
        return CreateForm(GetModuleHandleA(nullptr), "VantorE2EThrowing", "", WS_POPUP, 0, 0, 0,
                          0, 0, nullptr, nullptr, nullptr);
    }

  protected:
    bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
        if (message == WM_APP) throw std::runtime_error("window");
        return false;
    }
};

// An error thrown by a task of the GUI thread, a window's handler or a timer tick ends neither
// the program nor the work: each leaves a note in the log and the next task or tick runs.
TEST(Forms, ErrorsAtEveryEdgeAreNotedAndTheWorkGoesOn) {
    MessageLog log;
    SetFaultNoteReceiver(
        [](void* to, const std::string& note) { static_cast<MessageLog*>(to)->Append("V", note); },
        &log);
    UiTaskQueue tasks;
    ASSERT_TRUE(tasks.Create(GetModuleHandleA(nullptr)));
    bool ranAfter = false;
    tasks.Post([] { throw std::runtime_error("task"); });
    tasks.Post([&] { ranAfter = true; });
    PumpUntil([&] { return ranAfter; }, 1000);
    EXPECT_TRUE(ranAfter);

    ThrowingForm form;
    ASSERT_TRUE(form.Create());
    SendMessageA(form.Window(), WM_APP, 0, 0);
    EXPECT_TRUE(IsWindow(form.Window()));

    std::atomic<int> ticks{0};
    PeriodicTimer timer(10, 1, [&] {
        if (ticks.fetch_add(1) == 0) throw std::runtime_error("tick");
    });
    timer.Start();
    EXPECT_TRUE(WaitUntil([&] { return ticks.load() >= 3; }, 2000));
    timer.Stop();
    WaitForIdleTimers(1000);
    SetFaultNoteReceiver(nullptr, nullptr);
    DestroyWindow(form.Window());

    EXPECT_EQ(log.Count(), 3);
    EXPECT_EQ(*log.Last().text, "Error in a timer tick: tick. Vantor carries on.");
    EXPECT_EQ(*log.Previous("").text, "Error in a window procedure: window. Vantor carries on.");
    EXPECT_EQ(*log.Previous("").text,
              "Error in a task of the program's window: task. Vantor carries on.");
}

TEST(Forms, MessageWindowButtonsAndMenusTakeTheirTextsBeforeAndAfterTheyExist) {
    UiTaskQueue tasks;
    ASSERT_TRUE(tasks.Create(GetModuleHandleA(nullptr)));
    MessageLog log;
    SharedRunTexts texts;
    SettingsStore settings;
    MessageWindow window(texts, settings, tasks);
    HACCEL accelerators = BuildAccelerators(MenuAccelerators());
    ASSERT_TRUE(window.Create(GetModuleHandleA(nullptr), nullptr, nullptr, accelerators,
                              BuiltInCaptions()));
    std::vector<MenuCommand> commands;
    window.SetHooks(
        {[&](MenuCommand c) { commands.push_back(c); }, nullptr, nullptr, nullptr, nullptr});
    HWND form = window.Window();
    window.SetButtonVisible(kBtCopy, true);
    window.SetButtonVisible(kBtClose, true);
    window.SetButtonVisible(kBtExit, true);
    EXPECT_EQ(FindChild(form, "Button"), nullptr) << "the buttons come with the first show";

    CaptionSet captions = BuiltInCaptions();
    captions[Caption::btCopy] = "\xCA\xEE\xEF\xE8\xFF";  // "Копия"
    captions[Caption::btExit] = "";
    captions[Caption::mmNext] = "Onward\tAlt+Right";
    window.ApplyCaptions(captions);
    RetextMenu(window.TextMenu(), TextMenuItems(), captions);
    window.SetText("three word text");
    window.ShowPage(log.Last());
    Pump(50);
    HWND copy = FindChild(form, "Button", std::string("\xCA\xEE\xEF\xE8\xFF"));
    ASSERT_NE(copy, nullptr) << "the Copy button kept the text applied before it existed";
    EXPECT_NE(FindChild(form, "Button", std::string("")), nullptr);
    EXPECT_EQ(window.Text(), "three word text");
    char item[64] = {};
    GetMenuStringA(window.TextMenu(), kCmdNext, item, sizeof(item), MF_BYCOMMAND);
    EXPECT_STREQ(item, "Onward\tAlt+Right");

    // After they exist: again through the same step.
    captions[Caption::btCopy] = "Copy again";
    window.ApplyCaptions(captions);
    EXPECT_EQ(TextOf(copy), "Copy again");

    // Re-texting keeps a check mark (the tray menu's Disable).
    HMENU tray = BuildPopupMenu(TrayMenuItems(), BuiltInCaptions());
    SetMenuItemChecked(tray, kCmdDisable, true);
    captions[Caption::pmDisable] = "Pause";
    RetextMenu(tray, TrayMenuItems(), captions);
    GetMenuStringA(tray, kCmdDisable, item, sizeof(item), MF_BYCOMMAND);
    EXPECT_STREQ(item, "Pause");
    EXPECT_TRUE(IsMenuItemChecked(tray, kCmdDisable));
    EXPECT_EQ(GetMenuItemCount(tray), 10);

    // The buttons are program commands for the dispatcher; Copy selection or whole text.
    SendMessageA(copy, BM_CLICK, 0, 0);
    SendMessageA(FindChild(form, "Button", std::string("Close")), BM_CLICK, 0, 0);
    SendMessageA(FindChild(form, "Button", std::string("")), BM_CLICK, 0, 0);
    Pump(50);
    EXPECT_EQ(commands, (std::vector<MenuCommand>{kCmdCopy, kCmdCloseButton, kCmdExit}));
    window.Area().Select(6, 10);
    EXPECT_EQ(window.Area().SelectedText(), "word");
    EXPECT_EQ(window.Area().SelectionOrWholeText(), "word");
    window.Area().Select(0, 0);
    EXPECT_EQ(window.Area().SelectionOrWholeText(), "three word text");
    window.RemoveCloseHandler();
    window.StopCountdownTimer();
    DestroyMenu(tray);
    DestroyWindow(form);
}

}  // namespace
}  // namespace vantor::e2e
