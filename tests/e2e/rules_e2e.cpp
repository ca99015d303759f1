// e2e-timeout: 180
// The user's rule lists at work on real windows of another program: the advanced list
// (maximize, minimize, hide, check and uncheck a check box, press a button), the replace
// list, a second start that reloads the four rule lists after the user edited them, and the
// "timer=" option that puts the scanner on a timer of its own, through Disable and back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

constexpr char kRuleClass[] = "VantorE2ERules";

// An app_rule_window with this caption, and its top-level window (hidden ones included:
// a rule may hide it before we look).
struct RuleWindow {
    Process process;
    HWND window = nullptr;
};
RuleWindow OpenRuleWindow(const std::string& caption, bool checked = false) {
    RuleWindow w;
    std::vector<std::string> args = {caption};
    if (checked) args.push_back("checked");
    w.process = Process::Start(ToolPath("app_rule_window"), args);
    w.window = WaitForTopLevelWindow({kRuleClass, std::nullopt, w.process.Id(), false}, 10000);
    return w;
}

int CheckOf(HWND window) {
    return static_cast<int>(Ask(FindChild(window, "Button", std::string("Remember")), BM_GETCHECK));
}

// Appends a line the way no folder watch can notice: the new content goes in by a rename,
// with the file's old last-write time. Only a reload that reads the file whatever its time
// sees the line.
bool AppendKeepingTime(const std::string& path, const std::string& line) {
    WIN32_FILE_ATTRIBUTE_DATA old;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &old)) return false;
    const std::string temp = path + ".new";
    if (!WriteFileBytes(temp, ReadFileBytes(path).value_or("") + "\r\n" + line)) return false;
    HANDLE file = CreateFileA(temp.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool timed = SetFileTime(file, nullptr, nullptr, &old.ftLastWriteTime) != 0;
    CloseHandle(file);
    return timed && MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

TEST(Rules, AdvancedListReplaceListAndASecondStartThatReloadsThem) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Main.ini",
                   "VantorE2ERules=rules maximize||Maximize\r\n"
                   "VantorE2ERules=rules minimize||Minimize\r\n"
                   "VantorE2ERules=rules hide||Hide\r\n"
                   "VantorE2ERules=rules checkbox||check Button=Remember\r\n"
                   "VantorE2ERules=rules clearbox||uncheck Button=Remember\r\n"
                   "VantorE2ERules=rules press|Edit=target|Button=Press me\r\n");
    WriteFileBytes(folder + "Replace.ini", "rules caption e2e|Replaced e2e\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());

    struct Row {
        const char* caption;
        bool checked;
        std::function<bool(HWND)> done;
        // The message window's text afterwards (null: nothing shown): a rule with an empty
        // child field matches the first child, whose text is named too.
        const char* shown;
    };
    const Row rows[] = {
        {"rules maximize", false, [](HWND w) { return IsZoomed(w) != FALSE; }, nullptr},
        {"rules minimize", false, [](HWND w) { return IsIconic(w) != FALSE; }, nullptr},
        {"rules hide", false, [](HWND w) { return !IsWindowVisible(w); }, nullptr},
        {"rules checkbox", false, [](HWND w) { return CheckOf(w) == BST_CHECKED; },
         "Pressed button 'Remember'\r\n\r\nrule target text"},
        {"rules clearbox", true, [](HWND w) { return CheckOf(w) == BST_UNCHECKED; },
         "Pressed button 'Remember'\r\n\r\nrule target text"},
        {"rules caption e2e", false, [](HWND w) { return TextOf(w) == "Replaced e2e"; }, nullptr},
    };
    for (const Row& row : rows) {
        RuleWindow w = OpenRuleWindow(row.caption, row.checked);
        ASSERT_NE(w.window, nullptr) << row.caption;
        // A maximize waits a second before it acts.
        EXPECT_TRUE(WaitUntil([&] { return row.done(w.window); }, 4000)) << row.caption;
        if (row.shown) {
            EXPECT_TRUE(WaitUntil(
                [&] { return vantor.Caption() == row.caption && vantor.Text() == row.shown; },
                2000))
                << row.caption << ": '" << vantor.Caption() << "' '" << Escaped(vantor.Text())
                << "'";
        }
        PostMessageA(w.window, WM_CLOSE, 0, 0);
        EXPECT_EQ(w.process.WaitExit(5000), std::optional<DWORD>(0)) << row.caption;
    }
    // A button is pressed only when the named child is there; the message names both.
    RuleWindow press = OpenRuleWindow("rules press");
    EXPECT_EQ(press.process.WaitExit(5000), std::optional<DWORD>(5)) << "not pressed";
    EXPECT_TRUE(WaitUntil(
        [&] { return vantor.Text() == "Pressed button 'Press me'\r\n\r\nrule target text"; }, 2000))
        << Escaped(vantor.Text());

    // The four lists change (unseen by the folder watch) and the program is started again:
    // the running one reads all four and acts on the changes. (Its message window then takes
    // the foreground, so the window to rename is reached by the next pass over all windows.)
    RuleWindow renamed = OpenRuleWindow("rules reloaded e2e");
    ASSERT_NE(renamed.window, nullptr);
    ASSERT_TRUE(
        AppendKeepingTime(folder + "Replace.ini", "rules reloaded e2e|Reloaded caption e2e"));
    ASSERT_TRUE(AppendKeepingTime(folder + "White.ini", "reload keep e2e"));
    ASSERT_TRUE(AppendKeepingTime(folder + "Black.ini", "reload quiet e2e"));
    ASSERT_TRUE(AppendKeepingTime(folder + "Main.ini",
                                  "VantorE2ERules=rules reload press||Button=Press me"));
    Sleep(700);
    ASSERT_EQ(TextOf(renamed.window), "rules reloaded e2e") << "renamed before the second start";
    Process second = Process::Start(vantor.Exe(), {}, folder);
    ASSERT_TRUE(second.WaitExit(15000).has_value());
    EXPECT_TRUE(WaitUntil([&] { return TextOf(renamed.window) == "Reloaded caption e2e"; }, 4500))
        << TextOf(renamed.window);
    PostMessageA(renamed.window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(renamed.process.WaitExit(5000).has_value());

    RuleWindow pressAfter = OpenRuleWindow("rules reload press");
    EXPECT_EQ(pressAfter.process.WaitExit(5000), std::optional<DWORD>(5)) << "new rule unused";
    Process kept = ShowBox("kept e2e", "reload keep e2e");
    EXPECT_FALSE(kept.WaitExit(1500).has_value()) << "a box the white list now holds was closed";
    HWND keptBox = WaitForTopLevelWindow({"#32770", std::string("kept e2e"), kept.Id()}, 1000);
    PostMessageA(keptBox, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(kept.WaitExit(5000), std::optional<DWORD>(IDOK));
    Process quiet = ShowBox("quiet e2e", "reload quiet e2e");
    EXPECT_EQ(quiet.WaitExit(5000), std::optional<DWORD>(IDOK));
    Sleep(300);
    EXPECT_NE(vantor.Caption(), "quiet e2e") << "a box the black list now holds was shown";

    // What the rules did is in History.txt under the window's program, the black-listed box too.
    const auto history = [&] { return ReadFileBytes(folder + "History.txt").value_or(""); };
    EXPECT_TRUE(WaitUntil([&] { return history().find("quiet e2e") != std::string::npos; }, 3000));
    for (const char* block :
         {"\tapp_rule_window.exe\trule: MAXIMIZE\trules maximize\r\n\r\n",
          "\tapp_rule_window.exe\trule: Pressed button 'Press me'\trules press\r\n"
          "\trule target text\r\n\r\n",
          "\tshow_message_box.exe\tclosed, not shown\tquiet e2e\r\n\treload quiet e2e\r\n"}) {
        EXPECT_NE(history().find(block), std::string::npos) << Escaped(block) << "\n"
                                                            << Escaped(history());
    }
}

// Lines an editor leaves (a TAB, a TAB-indented comment) and rules that name no window never
// act on another program's window; the notice at start and after a save names those rules.
TEST(Rules, LinesThatLookBlankNeverActAndTheRulesLeftOutAreNamed) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Main.ini", "\t\r\n\t; note\r\n=\r\n");
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    EXPECT_TRUE(WaitUntil(
        [&] { return vantor.Text() == "Main.ini line 3: no window class or caption"; }, 3000))
        << Escaped(vantor.Text());
    RuleWindow w = OpenRuleWindow("rules blank e2e");
    ASSERT_NE(w.window, nullptr);
    ASSERT_TRUE(SaveWithAnotherProgram(folder, {"Main.ini", "\t;x|=*|\t"}));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return vantor.Text() ==
                   "Reloaded main list.\r\nMain.ini line 2: no window class or caption";
        },
        3000))
        << Escaped(vantor.Text());
    EXPECT_FALSE(w.process.WaitExit(1500).has_value()) << "a blank-looking line closed it";
    EXPECT_TRUE(IsWindowVisible(w.window));
    PostMessageA(w.window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(w.process.WaitExit(5000).has_value());
}

// When Vantor closes a box: the moment its message shows (posted right after the click).
DWORD CloseTimeOf(Vantor& vantor, const std::string& caption) {
    Process box = ShowBox(caption, "timed");
    if (!WaitUntil([&] { return vantor.Caption() == caption; }, 6000, 2)) return 0;
    const DWORD at = GetTickCount();
    box.WaitExit(5000);
    return at;
}

TEST(Rules, TimerOptionGivesTheScannerItsOwnTimerThroughDisable) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Main.ini", "VantorE2ERules=rules quick hide||Hide\r\n");
    // Without the early look at new windows, which closes a box whatever the scanner's period.
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nWindowEvents=0\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start({"timer=1000"}));
    // The scanner acts only once a second: a box that opens just after one closing is not
    // closed until the next second's tick (with 50 ms ticks it would take some 200 ms).
    auto closingsASecondApart = [&](const char* name) {
        const DWORD first = CloseTimeOf(vantor, std::string(name) + " 1");
        ASSERT_NE(first, 0u) << name;
        Sleep(300);
        const DWORD second = CloseTimeOf(vantor, std::string(name) + " 2");
        ASSERT_NE(second, 0u) << name;
        EXPECT_GE(second - first, 850u) << name;
    };
    closingsASecondApart("scanner");
    // The advanced list keeps its own 50 ms timer.
    RuleWindow quick = OpenRuleWindow("rules quick hide");
    ASSERT_NE(quick.window, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(quick.window); }, 700));
    quick.process.Kill();

    vantor.CommandAndWait(kCmdDisable);
    Process box = ShowBox("disabled e2e", "stays");
    EXPECT_FALSE(box.WaitExit(2500).has_value()) << "closed while disabled";
    vantor.CommandAndWait(kCmdDisable);
    EXPECT_EQ(box.WaitExit(2500), std::optional<DWORD>(IDOK));
    closingsASecondApart("enabled again");
}

}  // namespace
}  // namespace vantor::e2e
