// The advanced list: splitting rules and listings, and every action on the fake desktop.
#include "watcher/advanced_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

TEST(AdvancedRule, FieldsAndCommandWord) {
    struct Case {
        std::string line;
        AdvancedRule expected;
    };
    const std::vector<Case> cases = {
        {"TDRIVEDLG", {"TDRIVEDLG", "", "", "", "", "", "", false}},
        {"IEFrame|Edit=.htm|Maximize", {"IEFrame", "", "Edit", ".htm", "", "Maximize", "", true}},
        {"IEFrame||Maximize", {"IEFrame", "", "", "", "", "Maximize", "", true}},
        {"Class=Cap|Child|Button=OK", {"Class", "Cap", "", "Child", "Button", "OK", "", true}},
        {"Class||check Button=Remember",
         {"Class", "", "", "", "Button", "Remember", "check", true}},
        {"Class||CHECKING Button=x", {"Class", "", "", "", "Button", "x", "checking", true}},
        {"Class||two words Button=x", {"Class", "", "", "", "words Button", "x", "two", true}},
        {"Class||sleep 500", {"Class", "", "", "", "", "sleep 500", "", true}},
        {"A|TButton=Next", {"A", "", "", "", "TButton", "Next", "", false}},
        {"A=x=y|c=d|e=f|g", {"A", "x=y", "c", "d", "e", "f|g", "", true}},
        {"|||", {"", "", "", "", "", "|", "", true}},
        {"", {"", "", "", "", "", "", "", false}},
    };
    for (const auto& c : cases) {
        const AdvancedRule r = SplitAdvancedRule(c.line);
        const AdvancedRule& e = c.expected;
        EXPECT_EQ(r.mainClass, e.mainClass) << c.line;
        EXPECT_EQ(r.mainText, e.mainText) << c.line;
        EXPECT_EQ(r.childClass, e.childClass) << c.line;
        EXPECT_EQ(r.childText, e.childText) << c.line;
        EXPECT_EQ(r.buttonClass, e.buttonClass) << c.line;
        EXPECT_EQ(r.buttonText, e.buttonText) << c.line;
        EXPECT_EQ(r.command, e.command) << c.line;
        EXPECT_EQ(r.hasSecondBar, e.hasSecondBar) << c.line;
    }
}

// A setup wizard in the foreground with a label, a check box, three buttons and an edit.
struct Wizard {
    Wizard() {
        fg = desk.ws.AddTopLevel("TForm", "Setup Wizard", 9);
        label = desk.ws.AddChild(fg, "TLabel", "Read the\r\nlicence");
        remember = desk.ws.AddChild(fg, "TCheckBox", "Remember");
        desk.ws.Window(remember).clickToggles = true;
        other = desk.ws.AddChild(fg, "TCheckBox", "Other");
        next = desk.ws.AddChild(fg, "TButton", "&Next");
        agree = desk.ws.AddChild(fg, "TButton", "I agree");
        desk.ws.AddChild(fg, "TButton", "Cancel");
        desk.ws.AddChild(fg, "Edit", "file.htm");
        desk.ws.SetForeground(fg);
    }
    std::vector<std::string> Expand(const std::vector<std::string>& lines) const {
        const std::vector<std::pair<std::string, WindowHandle>> slots = {
            {"{fg}", fg},       {"{next}", next},  {"{agree}", agree}, {"{remember}", remember},
            {"{other}", other}, {"{label}", label}};
        std::vector<std::string> out;
        for (std::string line : lines) {
            for (const auto& [slot, h] : slots) {
                const auto at = line.find(slot);
                if (at != std::string::npos) line.replace(at, slot.size(), std::to_string(h));
            }
            out.push_back(line);
        }
        return out;
    }
    Desk desk;
    WindowHandle fg = 0, label = 0, remember = 0, other = 0, next = 0, agree = 0;
};

TEST(AdvancedListTick, Actions) {
    struct Row {
        const char* name;
        ListEntries rules;
        std::function<void(Wizard&)> setup;
        std::vector<std::string> sent;  // commands and sleeps
        std::vector<std::string> shown;
    };
    const auto none = [](Wizard&) {};
    const auto keepsOpen = [](Wizard& w) { w.desk.ws.Window(w.fg).closeOnSysClose = false; };
    const auto disabled = [](Wizard& w) { w.desk.ws.sleepsCancelled = true; };  // or Exit
    const std::string cap = "0 'Setup Wizard' ";
    // A blank child field matches the first listed child, whose text the notice then adds.
    const std::string pressedNext =
        "show " + cap + "'Pressed button 'Next'\r\n\r\nRead the\r\nlicence'";
    const std::vector<Row> rows = {
        {"one field closes",
         {"TForm"},
         none,
         {"WM_SYSCOMMAND {fg} SC_CLOSE", "Sleep 100"},
         {"show " + cap + "'Closed'"}},
        {"one field, still visible: closed twice more",
         {"tform"},
         keepsOpen,
         {"WM_SYSCOMMAND {fg} SC_CLOSE", "Sleep 100", "WM_SYSCOMMAND {fg} SC_CLOSE", "Sleep 100",
          "WM_SYSCOMMAND {fg} SC_CLOSE"},
         {"show " + cap + "'Closed'", "show " + cap + "'Closed.'"}},
        {"one field, hidden window: not closed at once",
         {"TForm"},
         [](Wizard& w) { w.desk.ws.Window(w.fg).visible = false; },
         {},
         {}},
        {"two fields close, then the button of the second field",
         {"TForm|TButton=Next"},
         keepsOpen,
         {"WM_SYSCOMMAND {fg} SC_CLOSE", "Sleep 100", "BM_CLICK {next}", "Sleep 100"},
         {"show " + cap + "'Closed'", pressedNext}},
        {"maximize after a second",
         {"TForm|Edit=.htm|Maximize"},
         none,
         {"Sleep 1000", "WM_SYSCOMMAND {fg} SC_MAXIMIZE"},
         {}},
        {"already maximized",
         {"TForm|Edit=.htm|MAXIMIZE"},
         [](Wizard& w) { w.desk.ws.Window(w.fg).style |= kStyleMaximize; },
         {},
         {}},
        {"minimized is not maximized",
         {"TForm|Edit=.htm|Maximize"},
         [](Wizard& w) { w.desk.ws.Window(w.fg).iconic = true; },
         {},
         {}},
        {"child does not match", {"TForm|Edit=.txt|Maximize"}, none, {}, {}},
        {"minimize", {"TForm||Minimize"}, none, {"Sleep 50", "WM_SYSCOMMAND {fg} SC_MINIMIZE"}, {}},
        {"minimize an iconic window",
         {"TForm||minimize"},
         [](Wizard& w) { w.desk.ws.Window(w.fg).iconic = true; },
         {},
         {}},
        {"hide", {"TForm||Hide"}, none, {"Sleep 50", "ShowWindow {fg} 0"}, {}},
        {"click with a child text",
         {"TForm|TLabel=licence|TButton=Next"},
         none,
         {"BM_CLICK {next}", "Sleep 100"},
         {"show " + cap + "'Pressed button 'Next'\r\n\r\nRead the\r\nlicence'"}},
        {"click without a child",
         {"TForm||TButton=Next"},
         none,
         {"BM_CLICK {next}", "Sleep 100"},
         {pressedNext}},
        {"blank button text: the child text is the notice",
         {"TForm|TLabel=licence|TButton= "},
         none,
         {"BM_CLICK {agree}", "Sleep 100"},
         {"show " + cap + "'Read the\r\nlicence'"}},
        {"'close' in the button text closes",
         {"TForm||TButton=Close"},
         none,
         {"WM_SYSCOMMAND {fg} SC_CLOSE", "Sleep 100"},
         {"show " + cap + "'Closed.'"}},
        {"close, still visible",
         {"TForm|Edit=htm|TButton=Close"},
         keepsOpen,
         {"WM_SYSCOMMAND {fg} SC_CLOSE", "Sleep 100", "WM_SYSCOMMAND {fg} SC_CLOSE"},
         {"show " + cap + "'Closed.'"}},
        {"check an unchecked box",
         {"TForm||check TCheckBox=Remember"},
         none,
         {"BM_CLICK {remember}"},
         {"show " + cap + "'Pressed button 'Remember'\r\n\r\nRead the\r\nlicence'"}},
        {"check a checked box",
         {"TForm||check TCheckBox=Remember"},
         [](Wizard& w) { w.desk.ws.Window(w.remember).check = 1; },
         {},
         {}},
        {"checking",
         {"TForm||checking TCheckBox=Remember"},
         none,
         {"BM_SETCHECK {remember} 1"},
         {"show " + cap + "'Pressed button 'Remember'\r\n\r\nRead the\r\nlicence'"}},
        {"unchecking",
         {"TForm||Unchecking TCheckBox=Remember"},
         [](Wizard& w) { w.desk.ws.Window(w.remember).check = 1; },
         {"BM_SETCHECK {remember} 0"},
         {"show " + cap + "'Pressed button 'Remember'\r\n\r\nRead the\r\nlicence'"}},
        {"unchecking an unchecked box", {"TForm||unchecking TCheckBox=Remember"}, none, {}, {}},
        {"uncheck",
         {"TForm||uncheck TCheckBox=Remember"},
         [](Wizard& w) { w.desk.ws.Window(w.remember).check = 1; },
         {"BM_CLICK {remember}"},
         {"show " + cap + "'Pressed button 'Remember'\r\n\r\nRead the\r\nlicence'"}},
        {"unknown command", {"TForm||press TButton=Next"}, none, {}, {}},
        {"sleep", {"TForm||sleep 500"}, none, {"Sleep 500"}, {}},
        {"sleep without a number", {"TForm||SLEEP"}, none, {"Sleep 100"}, {}},
        {"negative sleep waits nothing", {"TForm||sleep -5"}, none, {"Sleep 0"}, {}},
        {"a long sleep is cut to a minute", {"TForm||sleep 2147483647"}, none, {"Sleep 60000"}, {}},
        {"rules that name no window never act",
         {"|", "=", " \t", "||sleep 500", "=||TButton=Next", "|Edit=htm|Maximize", " = |TLabel|close"},
         none,
         {},
         {}},
        {"Disable during the wait before maximizing: nothing more",
         {"TForm|Edit=.htm|Maximize"}, disabled, {"Sleep 1000"}, {}},
        {"Disable during the close rule's wait: no second close",
         {"TForm|Edit=htm|TButton=Close"},
         [&](Wizard& w) { keepsOpen(w), disabled(w); },
         {"WM_SYSCOMMAND {fg} SC_CLOSE", "Sleep 100"},
         {"show " + cap + "'Closed.'"}},
        {"the last rule wins",
         {"TForm||TButton=Cancel", "TForm||TButton=Next"},
         none,
         {"BM_CLICK {next}", "Sleep 100"},
         {pressedNext}},
        {"a sleep rule shadows the rules before it",
         {"TForm||TButton=Next", "TForm||sleep 200"},
         none,
         {"Sleep 200"},
         {}},
        {"a rule without an action falls through",
         {"TForm||TButton=Next", "TForm||TButton=Nope"},
         none,
         {"BM_CLICK {next}", "Sleep 100"},
         {pressedNext}},
        {"caption pattern",
         {"=*Wizard||TButton=Next"},
         none,
         {"BM_CLICK {next}", "Sleep 100"},
         {pressedNext}},
        {"caption does not match", {"TForm=Installer||TButton=Next"}, none, {}, {}},
        {"another class", {"TDialog||TButton=Next"}, none, {}, {}},
        {"the button may be listed before the child",
         {"TForm|Edit=htm|TButton=Next"},
         none,
         {"BM_CLICK {next}", "Sleep 100"},
         {"show " + cap + "'Pressed button 'Next'\r\n\r\nfile.htm'"}},
        {"child class must match", {"TForm|TEdit=licence|TButton=Next"}, none, {}, {}},
        {"a click that is not taken is not reported",
         {"TForm||TButton=Next"},
         [](Wizard& w) { w.desk.ws.Window(w.next).slowCommands = true; },
         {"BM_CLICK {next}", "Sleep 100"},
         {}},
    };
    for (const auto& row : rows) {
        Wizard w;
        row.setup(w);
        w.desk.SetList(ListKind::Main, row.rules);
        AdvancedList list(w.desk.ws, w.desk.lists, w.desk.sink, w.desk.texts);
        list.AdvancedListTick();
        const auto sent = w.Expand(row.sent);
        EXPECT_EQ(w.desk.ws.Commands(), sent) << row.name << "\n"
                                              << DumpSequences(sent, w.desk.ws.Commands());
        EXPECT_EQ(w.desk.sink.calls, row.shown) << row.name << "\n"
                                                << DumpSequences(row.shown, w.desk.sink.calls);
    }
}

TEST(AdvancedListTick, ClickRepeatsButCheckActsOncePerButton) {
    Wizard w;
    w.desk.SetList(ListKind::Main, {"TForm||TButton=Next"});
    AdvancedList list(w.desk.ws, w.desk.lists, w.desk.sink, w.desk.texts);
    for (int i = 0; i < 3; ++i) list.AdvancedListTick();
    EXPECT_EQ(w.desk.ws.Commands(), w.Expand({"BM_CLICK {next}", "Sleep 100", "BM_CLICK {next}",
                                              "Sleep 100", "BM_CLICK {next}", "Sleep 100"}));

    w.desk.ws.ClearLog();
    w.desk.SetList(ListKind::Main, {"TForm||check TCheckBox=Remember"});
    list.AdvancedListTick();                 // checks it
    w.desk.ws.Window(w.remember).check = 0;  // the user unchecks it again
    list.AdvancedListTick();
    list.AdvancedListTick();
    EXPECT_EQ(w.desk.ws.Commands(), w.Expand({"BM_CLICK {remember}"}));
    EXPECT_EQ(list.LastToggledButton(), w.remember);

    // A command on another button frees the first one again.
    w.desk.SetList(ListKind::Main,
                   {"TForm||check TCheckBox=Remember", "TForm||checking TCheckBox=Other"});
    list.AdvancedListTick();
    EXPECT_EQ(list.LastToggledButton(), w.other);
    list.AdvancedListTick();
    EXPECT_EQ(w.desk.ws.Commands(),
              w.Expand({"BM_CLICK {remember}", "BM_SETCHECK {other} 1", "BM_CLICK {remember}"}));
    EXPECT_EQ(w.desk.ws.Window(w.remember).check, 1);

    // A plain click is not applied to the last toggled button either.
    w.desk.ws.ClearLog();
    w.desk.SetList(ListKind::Main, {"TForm||TCheckBox=Remember"});
    list.AdvancedListTick();
    EXPECT_TRUE(w.desk.ws.Commands().empty());
}

// Another program's window text cannot choose what is pressed: a caption holding "=" and the
// number of another program's button names that caption's own button, and a chain of children
// that leads into another window (a tree changing under the walk) is not followed by a click.
TEST(AdvancedListTick, OnlyAChildOfTheMatchedWindowIsPressed) {
    Wizard w;
    const WindowHandle bank = w.desk.ws.AddTopLevel("TBank", "Bank", 3);
    const WindowHandle pay = w.desk.ws.AddChild(bank, "TButton", "Pay");
    const WindowHandle go = w.desk.ws.AddChild(w.fg, "TButton", "Go=" + std::to_string(pay));
    w.desk.SetList(ListKind::Main, {"TForm||TButton=Go"});
    AdvancedList list(w.desk.ws, w.desk.lists, w.desk.sink, w.desk.texts);
    list.AdvancedListTick();
    EXPECT_EQ(w.desk.ws.Commands(), (std::vector<std::string>{Msg("BM_CLICK", go), "Sleep 100"}));

    w.desk.ws.ClearLog();
    w.desk.sink.calls.clear();
    w.desk.ws.LinkNext(go, pay);
    for (const char* rule : {"TForm||TButton=Pay", "TForm||check TButton=Pay"}) {
        w.desk.SetList(ListKind::Main, {rule});
        list.AdvancedListTick();
    }
    EXPECT_TRUE(w.desk.ws.Commands().empty()) << DumpSequences({}, w.desk.ws.Commands());
    EXPECT_TRUE(w.desk.sink.calls.empty());
}

// Children that answer slowly are read only within the listing's time budget; a rule whose
// child is not read yet waits for a later tick, and no earlier rule acts in its place.
TEST(AdvancedListTick, SlowChildrenCutTheListingShort) {
    Wizard w;
    for (int i = 0; i < 2000; ++i) {
        w.desk.ws.Window(w.desk.ws.AddChild(w.fg, "TButton", "Slow")).answerMs = 900;
    }
    w.desk.ws.AddChild(w.fg, "TButton", "Finish");
    w.desk.ws.recordReads = false;
    w.desk.SetList(ListKind::Main, {"TForm||TButton=Next", "TForm||TButton=Finish"});
    AdvancedList list(w.desk.ws, w.desk.lists, w.desk.sink, w.desk.texts);
    const std::uint32_t before = w.desk.ws.Now();
    list.AdvancedListTick();
    EXPECT_LE(w.desk.ws.Now() - before, kListingBudgetMs + 1000);
    EXPECT_TRUE(w.desk.ws.Commands().empty()) << DumpSequences({}, w.desk.ws.Commands());
    EXPECT_EQ(list.LastUnmatchedForeground(), 0u) << "the window is tried again next tick";
    // The same children answering at once: the last rule finds its button.
    for (WindowHandle c : w.desk.ws.Window(w.fg).children) w.desk.ws.Window(c).answerMs = 0;
    list.AdvancedListTick();
    EXPECT_EQ(w.desk.ws.Commands().front(),
              Msg("BM_CLICK", w.desk.ws.Window(w.fg).children.back()));
}

TEST(AdvancedListTick, UnmatchedForegroundIsSkippedUntilAnotherWindow) {
    Wizard w;
    w.desk.SetList(ListKind::Main, {"TDialog"});
    AdvancedList list(w.desk.ws, w.desk.lists, w.desk.sink, w.desk.texts);
    list.AdvancedListTick();
    EXPECT_EQ(list.LastUnmatchedForeground(), w.fg);

    // A new rule for it takes effect only after another window was in the foreground.
    w.desk.SetList(ListKind::Main, {"TForm||TButton=Next"});
    w.desk.ws.ClearLog();
    list.AdvancedListTick();
    EXPECT_TRUE(w.desk.ws.Log().empty()) << "not even its children are read";
    const WindowHandle other = w.desk.ws.AddTopLevel("Shell", "");
    w.desk.ws.SetForeground(other);
    list.AdvancedListTick();
    EXPECT_EQ(list.LastUnmatchedForeground(), other);
    w.desk.ws.SetForeground(w.fg);
    list.AdvancedListTick();
    EXPECT_EQ(w.desk.ws.Commands(), w.Expand({"BM_CLICK {next}", "Sleep 100"}));
    EXPECT_EQ(list.LastUnmatchedForeground(), other);

    // A matched window without children: the rule has nothing to act on.
    const WindowHandle bare = w.desk.ws.AddTopLevel("IEFrame", "Page");
    w.desk.ws.SetForeground(bare);
    w.desk.SetList(ListKind::Main, {"IEFrame||Maximize"});
    w.desk.ws.ClearLog();
    list.AdvancedListTick();
    EXPECT_TRUE(w.desk.ws.Commands().empty());
    EXPECT_EQ(list.LastUnmatchedForeground(), other);
}

// The GUI thread reloads the advanced list while the timer thread ticks: every tick acts on
// one whole list, the old or the new.
TEST(AdvancedListThreaded, RulesReplacedWhileTicking) {
    Wizard w;
    w.desk.ws.recordReads = false;
    // Both lists match the window, so it never becomes the skipped unmatched foreground.
    w.desk.SetList(ListKind::Main, {"TForm||TButton=I agree"});
    AdvancedList list(w.desk.ws, w.desk.lists, w.desk.sink, w.desk.texts);
    std::atomic<bool> stop{false};
    std::thread gui([&] {
        for (int i = 0; !stop.load(); ++i) {
            w.desk.SetList(ListKind::Main, i % 2 ? ListEntries{"TDialog", "TForm||TButton=Next"}
                                                 : ListEntries{"TForm||TButton=I agree"});
            RunTexts texts;
            texts.ssPressedButton = i % 2 ? "Pressed button" : "Pressed";
            w.desk.texts.Set(texts);
            std::this_thread::yield();
        }
    });
    constexpr int kTicks = 300;
    for (int i = 0; i < kTicks; ++i) list.AdvancedListTick();
    stop = true;
    gui.join();
    const std::vector<std::string> commands = w.desk.ws.Commands();
    ASSERT_EQ(commands.size(), 2u * kTicks);
    for (std::size_t i = 0; i < commands.size(); i += 2) {
        const bool next = commands[i] == Msg("BM_CLICK", w.next);
        EXPECT_TRUE(next || commands[i] == Msg("BM_CLICK", w.agree)) << commands[i];
        EXPECT_EQ(commands[i + 1], "Sleep 100");
        const std::string& shown = w.desk.sink.calls.at(i / 2);
        EXPECT_NE(shown.find(next ? "'Next'" : "'I agree'"), std::string::npos) << shown;
    }
}

}  // namespace
}  // namespace vantor::testing
