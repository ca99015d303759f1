// e2e-timeout: 300
// Language files with the real vantor.exe: a file's captions on both menus (picked by their
// mnemonics, as a user picks them), the message window's buttons and the dialog; its OK word;
// the language list refilled by a mouse press and applied when it closes; the shipped Russian
// file, its captions fitting their controls and, on a Russian system, OK boxes closed with
// the default settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms/program_font_win32.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

const std::string kRussianDisplay = "\xD0\xF3\xF1\xF1\xEA\xE8\xE9";  // "Русский"

bool CopyShippedRussian(const std::string& folder) {
    CreateDirectoryA((folder + "Language").c_str(), nullptr);
    return CopyFileTo(RepositoryFile("Language\\Rus.lng"), folder + "Language\\Rus.lng");
}

// Opens a popup menu of the process with `open` and types `key` into it.
bool PickByMnemonic(Vantor& vantor, const std::function<void()>& open, char key) {
    open();
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = OpenMenuOf(vantor.Proc().Id())) != nullptr; }, 3000)) {
        return false;
    }
    PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(key), 0);
    return WaitUntil([&] { return OpenMenuOf(vantor.Proc().Id()) == nullptr; }, 3000);
}

TEST(Language, AFileRetextsBothMenusTheButtonsAndTheDialog) {
    const std::string folder = FreshFolder();
    CreateDirectoryA((folder + "Language").c_str(), nullptr);
    WriteFileBytes(folder + "Language\\Test.lng",
                   "[Language]\r\nLanguage=Testing\r\n"
                   "[Messages]\r\nssOK=\xEE\xEA\r\nssClose=Shut\r\nssLastMessage=End of the log\r\n"
                   "[fmMain]\r\nbtCopy.Caption=Duplicate\r\nbtExit .Caption=Leave\r\n"
                   "btExit.Caption=Not read\r\npmAbout.Caption=&Xabout\r\n"
                   "mmNext.Caption=&Jnext\tAlt+Right\r\n"
                   "[fmSetup]\r\nCaption=Test settings\r\ngbMain.Caption=Basics\r\n"
                   "cbAutoRun.Caption=Start with system\r\nbtOK.Caption=Accept\r\n");
    WriteFileBytes(folder + "Vantor.ini",
                   "[Main]\r\nLanguage=Test\r\nbtCopy.Visible=1\r\nbtClose.Visible=1\r\n"
                   "btExit.Visible=1\r\nIsTimer=1\r\n");
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());

    // Tray menu: "x" picks "&Xabout", which only the file's caption has.
    ASSERT_TRUE(PickByMnemonic(
        vantor, [&] { vantor.Tray(WM_RBUTTONDOWN); }, 'x'));
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 3000));
    EXPECT_EQ(vantor.Text().rfind("Vantor 3.21", 0), 0u) << Escaped(vantor.Text());
    // Text menu: "j" picks "&Jnext"; past the end of the empty log the file's own words.
    ASSERT_TRUE(PickByMnemonic(
        vantor, [&] { PostMessageA(FindChild(vantor.Window(), "Edit"), WM_CONTEXTMENU, 0, -1); },
        'j'));
    EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == "End of the log"; }, 3000))
        << Escaped(vantor.Text());

    // The buttons: the file's captions ("btExit .Caption" with its blank), and the Close
    // button's ssClose once the countdown runs.
    HWND fm = vantor.Window();
    EXPECT_NE(FindChild(fm, "Button", std::string("Duplicate")), nullptr);
    EXPECT_NE(FindChild(fm, "Button", std::string("Leave")), nullptr);
    EXPECT_TRUE(
        WaitUntil([&] { return TextOf(GetDlgItem(fm, kBtClose)).rfind("Shut", 0) == 0; }, 3000))
        << TextOf(GetDlgItem(fm, kBtClose));

    // The dialog: its own captions, group boxes padded, the label with "/ Language".
    ASSERT_TRUE(vantor.OpenSettings());
    const struct {
        int id;
        const char* text;
    } texts[] = {{kGbMain, " Basics "},
                 {kLbLanguage, "Language/ Language"},
                 {kCheckAutoRun, "Start with system"},
                 {kBtOK, "Accept"},
                 {kBtCancel, "Cancel"},
                 {kGbKeyboard, " Keyboard and edits "},
                 {kComboLanguage, "Test (Testing)"}};
    EXPECT_EQ(TextOf(vantor.Settings()), "Test settings");
    for (const auto& t : texts) EXPECT_EQ(TextOf(vantor.SettingsControl(t.id)), t.text) << t.id;
    PressKeys({VK_ESCAPE});

    // "ok" in lower-case Cyrillic: a dialog whose only button reads "Ок" is an OK message.
    Process dialog = Process::Start(ToolPath("app_edit_dialog"),
                                    {"ok word e2e", "Mixed case", "8", "plain", "\xCE\xEA"});
    ASSERT_TRUE(dialog.Started());
    EXPECT_EQ(dialog.WaitExit(6000), std::optional<DWORD>(IDOK)) << "the button was not pressed";
    EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == "Mixed case"; }, 3000));
}

TEST(Language, TheListIsRefilledByAMousePressAndAppliedWhenItCloses) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(CopyShippedRussian(folder));
    WriteFileBytes(folder + "Language\\De.lng",
                   "[Language]\r\nLanguage=Deutsch\r\n[fmSetup]\r\nlbLanguage.Caption=Sprache\r\n"
                   "btOK.Caption=Gut\r\n");
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nLanguage=Rus\r\n");
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    ASSERT_TRUE(vantor.OpenSettings());
    HWND list = vantor.SettingsControl(kComboLanguage);
    HWND label = vantor.SettingsControl(kLbLanguage);
    EXPECT_EQ(Ask(list, CB_GETCOUNT), 1) << "only the language applied at start";
    EXPECT_EQ(TextOf(list), "Rus (" + kRussianDisplay + ")");
    // Opened and closed from the keyboard: not refilled, and the language stays.
    const std::string russianLabel = TextOf(label);
    ASSERT_TRUE(WaitUntil(
        [&] { return FocusOf(vantor.Settings()) == vantor.SettingsControl(kCheckAutoRun); }, 2000));
    PressKeys({VK_TAB});
    PressKeys({VK_TAB});
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(vantor.Settings()) == list; }, 2000));
    PressKeys({VK_F4});
    ASSERT_TRUE(WaitUntil([&] { return Ask(list, CB_GETDROPPEDSTATE) != 0; }, 2000));
    EXPECT_EQ(Ask(list, CB_GETCOUNT), 1);
    PressKeys({VK_RETURN});
    ASSERT_TRUE(WaitUntil([&] { return Ask(list, CB_GETDROPPEDSTATE) == 0; }, 2000));
    Sleep(300);
    EXPECT_EQ(TextOf(label), russianLabel);
    EXPECT_EQ(Escaped(vantor.Ini()), Escaped("[Main]\r\nLanguage=Rus\r\n"));

    // A mouse press refills the list before it drops down; the keys pick "De", Enter closes it.
    auto dropAndPick = [&](const std::string& item) {
        Sleep(GetDoubleClickTime() + 100);  // two clicks, not a double click
        ClickAt(list);
        if (!WaitUntil([&] { return Ask(list, CB_GETDROPPEDSTATE) != 0; }, 2000)) {
            ADD_FAILURE() << "the list did not drop down";
            return false;
        }
        std::vector<std::string> items;
        for (int i = 0; i < Ask(list, CB_GETCOUNT); ++i) items.push_back(ComboItemText(list, i));
        std::vector<std::string> sorted = items;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<std::string>{"  Build-in (English)", "De (Deutsch)",
                                                    "Rus (" + kRussianDisplay + ")"}));
        const auto at = std::find(items.begin(), items.end(), item);
        if (at == items.end()) {
            ADD_FAILURE() << "no item " << item;
            return false;
        }
        const int target = static_cast<int>(at - items.begin());
        for (int i = static_cast<int>(Ask(list, CB_GETCURSEL)); i != target;) {
            PressKeys({static_cast<WORD>(i < target ? VK_DOWN : VK_UP)});
            Sleep(60);
            i += i < target ? 1 : -1;
        }
        EXPECT_EQ(Ask(list, CB_GETCURSEL), target);
        PressKeys({VK_RETURN});
        return WaitUntil([&] { return Ask(list, CB_GETDROPPEDSTATE) == 0; }, 2000);
    };
    ASSERT_TRUE(dropAndPick("De (Deutsch)"));
    EXPECT_TRUE(IsWindowVisible(vantor.Settings())) << "Enter in the dropped list pressed OK";
    EXPECT_TRUE(WaitUntil([&] { return TextOf(label) == "Sprache/ Language"; }, 2000))
        << Escaped(TextOf(label));
    EXPECT_EQ(TextOf(vantor.SettingsControl(kBtOK)), "Gut");
    EXPECT_EQ(TextOf(vantor.SettingsControl(kBtCancel)), "\xCE\xF2\xEC\xE5\xED\xE0");  // kept
    EXPECT_EQ(Ask(list, CB_GETCOUNT), 1);
    EXPECT_EQ(Escaped(vantor.Ini()), Escaped("[Main]\r\nLanguage=De\r\n"));

    // The built-in entry: a note in the label, "Language" emptied, the texts stay.
    ASSERT_TRUE(dropAndPick("  Build-in (English)"));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(label) == "Please, restart Vantor."; }, 2000));
    EXPECT_EQ(TextOf(vantor.SettingsControl(kBtOK)), "Gut");
    EXPECT_EQ(Escaped(vantor.Ini()), Escaped("[Main]\r\nLanguage=\r\n"));

    // An arrow key on the closed list changes its selection and applies nothing.
    ASSERT_EQ(FocusOf(vantor.Settings()), list);
    PressKeys({VK_DOWN});
    EXPECT_TRUE(WaitUntil([&] { return Ask(list, CB_GETCURSEL) == 1; }, 2000));
    Sleep(300);
    EXPECT_EQ(TextOf(label), "Please, restart Vantor.");
    EXPECT_EQ(Escaped(vantor.Ini()), Escaped("[Main]\r\nLanguage=\r\n"));
}

// The width the program's font gives a text.
int TextWidth(const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, ProgramFont());
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

int Width(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r.right - r.left;
}

TEST(Language, TheShippedRussianCaptionsFitTheirControls) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(CopyShippedRussian(folder));
    WriteFileBytes(folder + "Vantor.ini",
                   "[Main]\r\nLanguage=Rus\r\nbtCopy.Visible=1\r\nbtClose.Visible=1\r\n"
                   "btExit.Visible=1\r\n");
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    ASSERT_TRUE(vantor.OpenSettings());
    HWND dialog = vantor.Settings();
    EXPECT_EQ(TextOf(vantor.SettingsControl(kComboLanguage)), "Rus (" + kRussianDisplay + ")");
    // Everything inside a group box ends inside it.
    const struct {
        int group;
        std::vector<int> inside;
    } groups[] = {
        {kGbMain, {kLbLanguage, kCheckAutoRun, kCheckAutoclose, kComboLanguage}},
        {kGbKeyboard, {kCheckChangeCase, kCheckChangeCaseFirst, kCheckSelectAll, kCheckCloseYesNo}},
        {kGbMessages, {kLbCloseOn, kComboCloseOn}},
        {kGbButtons, {kCheckBtCopy, kCheckBtClose, kCheckBtTimer, kCheckBtExit, kCheckBorder}},
    };
    for (const auto& g : groups) {
        RECT box = {};
        GetWindowRect(vantor.SettingsControl(g.group), &box);
        EXPECT_LE(TextWidth(TextOf(vantor.SettingsControl(g.group))) + 16, box.right - box.left)
            << g.group;
        for (int id : g.inside) {
            RECT r = {};
            GetWindowRect(vantor.SettingsControl(id), &r);
            EXPECT_LE(r.right, box.right - 2)
                << id << " " << Escaped(TextOf(vantor.SettingsControl(id)));
        }
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_LE(TextWidth(ComboItemText(vantor.SettingsControl(kComboCloseOn), i)) + 24,
                  Width(vantor.SettingsControl(kComboCloseOn)))
            << i;
    }
    // Push buttons, the dialog's and the message window's.
    vantor.CommandAndWait(kCmdLastMessage);
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 3000));
    // "Автоматически закрытых окон не было.": the start text in the file's words.
    EXPECT_EQ(vantor.Text(),
              "\xC0\xE2\xF2\xEE\xEC\xE0\xF2\xE8\xF7\xE5\xF1\xEA\xE8 \xE7\xE0\xEA"
              "\xF0\xFB\xF2\xFB\xF5 \xEE\xEA\xEE\xED \xED\xE5 \xE1\xFB\xEB\xEE.");
    const HWND buttons[] = {GetDlgItem(dialog, kBtOK),
                            GetDlgItem(dialog, kBtCancel),
                            GetDlgItem(dialog, kBtHelp),
                            GetDlgItem(vantor.Window(), kBtCopy),
                            GetDlgItem(vantor.Window(), kBtClose),
                            GetDlgItem(vantor.Window(), kBtExit)};
    for (HWND button : buttons) {
        ASSERT_NE(button, nullptr);
        EXPECT_LE(TextWidth(TextOf(button)) + 8, Width(button)) << Escaped(TextOf(button));
    }
}

// With the shipped file, a default first start on a Russian system closes the system's own
// message boxes, whose button reads "ОК" (VANTOR_E2E_RUSSIAN=1; otherwise "OK").
TEST(Language, ADefaultStartWithTheShippedFileClosesTheSystemsOkBoxes) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(CopyShippedRussian(folder));
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    EXPECT_EQ(Escaped(vantor.Ini()), Escaped("[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5"));
    if (RussianSystem()) {
        EXPECT_EQ(SystemOkText(), "\xCE\xCA");
    }
    Process box = Process::Start(ToolPath("show_message_box"), {"system ok e2e", "closed", "0x40"});
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK)) << "the box stayed open";
    EXPECT_TRUE(WaitUntil([&] { return vantor.Visible() && vantor.Text() == "closed"; }, 3000));
}

}  // namespace
}  // namespace vantor::e2e
