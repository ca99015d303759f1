// e2e-timeout: 240
// The lists, the spy and the links of the real vantor.exe as a user meets them, all cases
// with one start of the program: lists saved by another program are reloaded and reported
// at the corner; text added from the message window's text menu goes to the list file and
// takes effect at once; the spy follows the mouse pointer; a double click on an address
// opens it. What the shell opens is seen through a stand-in registered in the prefix as the
// open command of the mailto and http schemes and of .ini files.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

enum class Fate { kShown, kClosedQuietly, kKeptOpen };

class UserPaths : public ::testing::Test {
  protected:
    struct World {
        std::string shellLog = FreshFolder("shell") + "opened.txt";
        std::string recorder = "\"" + ToolPath("shell_recorder") + "\" \"" + shellLog + "\" \"%1\"";
        ShellCommandOverride mail{"mailto", recorder};
        ShellCommandOverride web{"http", recorder};
        ShellCommandOverride ini{"inifile", recorder};
        Vantor vantor{FreshFolder("program"), Vantor::kSystemBoxes};
        bool started = false;
    };

    static void SetUpTestSuite() {
        world_ = std::make_unique<World>();
        // A short count keeps the cases quick; a window in the foreground stays regardless.
        // (On a Russian system the language file with the system's button words is named.)
        WriteFileBytes(world_->vantor.Folder() + "Vantor.ini",
                       RussianSystem() ? "[Main]\r\nMessageTime=2\r\nLanguage=Rus\r\n"
                                       : "[Main]\r\nMessageTime=2\r\n");
        world_->started = world_->vantor.Start();
    }
    static void TearDownTestSuite() { world_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(world_->started) << "vantor.exe did not start";
        ASSERT_TRUE(V().Proc().Running());
        Hide();
        DeleteFileA(world_->shellLog.c_str());
    }

    static Vantor& V() { return world_->vantor; }
    static std::string PathOf(const std::string& name) { return V().Folder() + name; }

    // The window as the tray icon's click leaves it.
    static void Hide() {
        if (!V().Hidden()) PostMessageA(V().Window(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([] { return V().Hidden(); }, 3000));
    }

    // What the shell has opened since the case began: one "target|show command" a line.
    static std::vector<std::string> Opened() {
        std::vector<std::string> lines;
        const std::string log = ReadFileBytes(world_->shellLog).value_or("");
        for (std::size_t at = 0; at < log.size();) {
            const std::size_t end = log.find("\r\n", at);
            if (end == std::string::npos) break;
            lines.push_back(log.substr(at, end - at));
            at = end + 2;
        }
        return lines;
    }
    static bool WaitOpened(std::size_t count) {
        return WaitUntil([&] { return Opened().size() >= count; }, 5000);
    }

    // Another program's message box with this caption and text, and what Vantor does to it.
    static void ExpectBox(const std::string& caption, const std::string& text, Fate fate) {
        SCOPED_TRACE(caption);
        Process box = ShowBox(caption, text);
        ASSERT_TRUE(box.Started());
        if (fate == Fate::kKeptOpen) {
            HWND dialog = WaitForTopLevelWindow({"#32770", caption, box.Id()}, 5000);
            ASSERT_NE(dialog, nullptr);
            EXPECT_FALSE(box.WaitExit(1500).has_value()) << "a white-listed box was closed";
            SendMessageTimeoutA(FindChild(dialog, "Button"), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG,
                                2000, nullptr);
            EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
            return;
        }
        EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
        if (fate == Fate::kShown) {
            EXPECT_TRUE(WaitUntil([&] { return V().Visible() && V().Caption() == caption; }, 3000));
        } else {
            Sleep(500);
            EXPECT_TRUE(V().Hidden()) << "shown: " << V().Caption();
        }
    }

    static std::unique_ptr<World> world_;
};
std::unique_ptr<UserPaths::World> UserPaths::world_;

TEST_F(UserPaths, ListsSavedByAnotherProgramAreReloadedAndReportedAtTheCorner) {
    // (It is already there on a Russian system, for the system's button words.)
    ASSERT_TRUE(CreateDirectoryA(PathOf("Language").c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    struct Step {
        const char* name;
        std::vector<std::string> files;  // name, text pairs saved by one program
        std::string notice;              // empty: nothing is shown
        std::string box;                 // a message box with this text afterwards...
        Fate fate;                       // ...and what becomes of it
    };
    const std::vector<Step> steps = {
        {"the white list", {"White.ini", "keep me open e2e"}, "Reloaded white list.",
         "keep me open e2e", Fate::kKeptOpen},
        {"the black and the replace list together",
         {"Black.ini", "close quietly e2e", "Replace.ini", "old e2e\tnew e2e"},
         "Reloaded black list.\r\nReloaded replace list.", "close quietly e2e",
         Fate::kClosedQuietly},
        {"a class list", {"Edit.ini", "Edit|TEdit"}, "", "", Fate::kShown},
        {"the settings file", {"Vantor.ini", "[Main]|MessageTime=2|"}, "", "", Fate::kShown},
        {"a file in a sub-folder", {"Language\\Test.lng", "[Messages]"}, "", "", Fate::kShown},
        {"the same white list again", {"White.ini", "keep me open e2e"}, "Reloaded white list.",
         "", Fate::kShown},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        Hide();
        {
            // The saves of one step all land before the program's next check, as when it is
            // busy meanwhile.
            const GuiThreadHold busy(V().Window());
            ASSERT_TRUE(SaveWithAnotherProgram(V().Folder(), step.files));
        }
        if (step.notice.empty()) {
            Sleep(700);
            EXPECT_TRUE(V().Hidden()) << Escaped(V().Text());
            continue;
        }
        EXPECT_TRUE(WaitUntil([&] { return V().Visible() && V().Text() == step.notice; }, 3000))
            << Escaped(V().Text());
        EXPECT_EQ(V().Caption(), "Vantor");
        ExpectAtCorner(V().Window());
        EXPECT_NE(GetForegroundWindow(), V().Window()) << "the notice took the focus";
        if (!step.box.empty()) {
            Hide();
            ExpectBox(std::string(step.name) + " e2e", step.box, step.fate);
        }
    }
}

TEST_F(UserPaths, ASecondStartReloadsTheListsWhateverTheirTimes) {
    // A white list saved with its old time set back: the check after it sees no change.
    const std::string white = PathOf("White.ini");
    FILETIME written = {};
    HANDLE file = CreateFileA(white.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    {
        const GuiThreadHold busy(V().Window());
        ASSERT_TRUE(SaveWithAnotherProgram(V().Folder(), {"White.ini", "second start e2e"}));
        file = CreateFileA(white.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
        CloseHandle(file);
    }
    Sleep(500);
    ExpectBox("before e2e", "second start e2e", Fate::kShown);

    Hide();
    Process second = Process::Start(V().Exe(), {}, V().Folder());
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitExit(15000).has_value());
    EXPECT_TRUE(WaitUntil([] { return V().Visible(); }, 3000));
    EXPECT_EQ(V().Caption(), "before e2e") << "the newest message, not a reload notice";
    Hide();
    ExpectBox("after e2e", "second start e2e", Fate::kKeptOpen);
}

TEST_F(UserPaths, TheTextMenuAddsToTheListsAndOpensTheirFiles) {
    struct Case {
        const char* caption;
        std::string text;  // the closed message
        std::string word;  // double-clicked first; empty: nothing is selected
        int item;          // of the text menu
        const char* file;
        std::string added;  // the new last line of the file; empty: the file stays
        std::string next;   // a message box with this text afterwards...
        Fate fate;          // ...and what becomes of it
        std::string refusal = {};  // the notice when nothing may be added (nothing opens)
    };
    const std::vector<Case> cases = {
        {"one word e2e", "please close zebrafish", "zebrafish", 4, "Black.ini", "zebrafish",
         "another zebrafish box", Fate::kClosedQuietly},
        {"whole text e2e", "keep this whole text e2e", "", 3, "White.ini",
         "keep this whole text e2e", "keep this whole text e2e", Fate::kKeptOpen},
        {"advanced e2e", "any text", "", 5, "Main.ini", "", "", Fate::kShown},
        {"wildcards e2e", "*", "", 3, "White.ini", "", "", Fate::kShown,
         "Not added to White.ini: the text is blank or only wildcards, which would match every "
         "message."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Hide();
        DeleteFileA(world_->shellLog.c_str());
        ExpectBox(c.caption, c.text, Fate::kShown);
        if (!c.word.empty()) {
            V().DoubleClickWordAt(c.text.find(c.word));
            ASSERT_EQ(V().Selected(), c.word);
        }
        const std::string before = ReadFileBytes(PathOf(c.file)).value_or("");
        ASSERT_TRUE(V().PickTextItem(c.item));
        if (!c.refusal.empty()) {
            EXPECT_TRUE(WaitUntil([&] { return V().Text() == c.refusal; }, 3000)) << V().Text();
            EXPECT_EQ(ReadFileBytes(PathOf(c.file)).value_or(""), before);
            EXPECT_TRUE(Opened().empty());
            continue;
        }
        ASSERT_TRUE(WaitOpened(1));
        EXPECT_EQ(Opened(), std::vector<std::string>{PathOf(c.file) + "|1"});
        std::string expected = before;
        if (!c.added.empty()) {
            if (!expected.empty() && expected.substr(expected.size() - 2) != "\r\n")
                expected += "\r\n";
            expected += c.added + "\r\n";
        }
        EXPECT_EQ(Escaped(ReadFileBytes(PathOf(c.file)).value_or("")), Escaped(expected));
        // The program's own write is no change of the user's: no reload notice comes.
        Sleep(700);
        EXPECT_EQ(V().Text(), c.text);
        if (c.next.empty()) continue;
        Hide();
        ExpectBox(std::string("next ") + c.caption, c.next, c.fate);
    }
}

TEST_F(UserPaths, TheSpyFollowsThePointerUntilTheWindowHides) {
    Process target = Process::Start(ToolPath("app_edit_dialog"), {"spy e2e", "spied text", "60"});
    ASSERT_TRUE(target.Started());
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("spy e2e"), target.Id()}, 5000);
    ASSERT_NE(dialog, nullptr);
    HWND ok = FindChild(dialog, "Button", std::string("OK"));
    HWND label = FindChild(dialog, "Static");
    ASSERT_TRUE(ok && label);
    RECT labelRect = {}, okRect = {};
    GetWindowRect(label, &labelRect);
    GetWindowRect(ok, &okRect);
    // Below the label, left of the button: the dialog itself.
    const POINT dialogPoint = {labelRect.left + 2, okRect.bottom + 3};
    const std::string ownedByDialog = "\r\n\r\nOWNER:#32770=spy e2e";
    const std::string dialogText = "#32770=spy e2e\r\nStatic=spied text\r\nEdit=\r\nButton=OK\r\n";
    // Waiting at the corner, where the window comes up: our own window is never spied.
    const RECT work = WorkArea();
    PointerTo({work.right - 60, work.bottom - 40});

    // The countdown has run out and gone idle before the spy starts.
    Sleep(3200);
    ASSERT_TRUE(V().PickTrayItem(2));
    ASSERT_TRUE(WaitUntil([] { return V().Visible(); }, 3000));
    EXPECT_EQ(V().Caption(), "Spy");
    EXPECT_EQ(V().Text(), "Information about windows.");
    ExpectAtCorner(V().Window());
    EXPECT_TRUE(WaitUntil([] { return GetForegroundWindow() == V().Window(); }, 2000));

    struct Step {
        const char* name;
        POINT at;
        std::string text;
    };
    const std::vector<Step> steps = {
        {"over our own window", CenterOf(V().TextArea()), "Information about windows."},
        {"over a button", CenterOf(ok), "Button=OK" + ownedByDialog},
        {"over a label", CenterOf(label), "Static=spied text" + ownedByDialog},
        {"over the dialog", dialogPoint, dialogText},
        {"back over our own window", CenterOf(V().Window()), dialogText},
        {"back over the button", CenterOf(ok), "Button=OK" + ownedByDialog},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        PointerTo(step.at);
        EXPECT_TRUE(WaitUntil([&] { return V().Text() == step.text; }, 2000))
            << Escaped(V().Text());
        Sleep(200);  // and it stays
        EXPECT_EQ(V().Text(), step.text);
        EXPECT_EQ(V().Caption(), "Spy");
        EXPECT_TRUE(WaitUntil([] { return GetForegroundWindow() == V().Window(); }, 2000));
    }

    // Out of the foreground, the countdown hides it; the spy ends and the window does not
    // come back when the pointer moves on.
    SetForegroundWindow(dialog);
    const DWORD left = GetTickCount();
    EXPECT_TRUE(WaitUntil([] { return V().Hidden(); }, 6000));
    EXPECT_GE(GetTickCount() - left, 1500u) << "hidden before its two seconds";
    PointerTo(CenterOf(label));
    Sleep(400);
    EXPECT_TRUE(V().Hidden());

    // Started again, it remembers the window it showed last: over that one nothing changes
    // until the pointer reaches another. Esc in the spy window hides it and ends the spy.
    PointerTo(CenterOf(ok));
    ASSERT_TRUE(V().PickTrayItem(2));
    ASSERT_TRUE(WaitUntil([] { return GetForegroundWindow() == V().Window(); }, 3000));
    Sleep(300);
    EXPECT_EQ(V().Text(), "Information about windows.");
    PointerTo(CenterOf(label));
    EXPECT_TRUE(WaitUntil([&] { return V().Text() == "Static=spied text" + ownedByDialog; }, 2000));
    PressKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitUntil([] { return V().Hidden(); }, 2000));
    PointerTo(CenterOf(ok));
    Sleep(400);
    EXPECT_TRUE(V().Hidden());
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(target.WaitExit(5000), std::optional<DWORD>(IDCANCEL));
}

TEST_F(UserPaths, ADoubleClickOnAnAddressOpensIt) {
    const std::string text = "mail ab@cd.ef\r\nweb www.example.com";
    ExpectBox("links e2e", "mail ab@cd.ef\\r\\nweb www.example.com", Fate::kShown);
    ASSERT_EQ(V().Text(), text);
    struct Step {
        const char* word;
        std::string opened;
    };
    const Step steps[] = {{"ab@cd.ef", "mailto:ab@cd.ef|3"}, {"www.example.com", "http://www.example.com|3"}};
    std::vector<std::string> opened;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.word);
        V().DoubleClickWordAt(text.find(step.word));
        EXPECT_EQ(V().Selected(), step.word) << "caption " << Escaped(V().Caption()) << ", foreground "
                                         << ClassNameOf(GetForegroundWindow());
        opened.push_back(step.opened);
        EXPECT_TRUE(WaitOpened(opened.size()));
        EXPECT_EQ(Opened(), opened);
        EXPECT_EQ(V().Caption(), "Vantor");
    }

    // Selected by a slow drag, released long after the press: nothing opens.
    PointerTo(V().CharPoint(text.find("www"), -1));
    PressButtons({MOUSEEVENTF_LEFTDOWN});
    const POINT end = V().CharPoint(text.size() - 1, 12);  // beyond the end of the line
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = end.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = end.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &move, sizeof(move));
    Sleep(400);
    PressButtons({MOUSEEVENTF_LEFTUP});
    // On a busy machine the drag's selection can take a moment to show.
    EXPECT_TRUE(WaitUntil([] { return V().Selected() == "www.example.com"; }, 2000))
        << V().Selected();
    Sleep(500);
    EXPECT_EQ(Opened(), opened);
}

}  // namespace
}  // namespace vantor::e2e
