// The message-dialog analysis: every row of its decision table, the log entry, the caption
// replacement, and when a window is analysed again.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "lists/text.h"
#include "watcher/dialog_closer.h"
#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

using Children = std::vector<std::pair<std::string, std::string>>;  // class, text

// "{W}" is the dialog's handle, "{Yes}" the handle of the child whose text is "Yes".
std::vector<std::string> Expand(Desk& desk, WindowHandle dialog,
                                const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    const std::regex slot("\\{([^}]*)\\}");
    for (const auto& line : lines) {
        std::string result;
        auto begin = std::sregex_iterator(line.begin(), line.end(), slot);
        std::size_t last = 0;
        for (auto it = begin; it != std::sregex_iterator(); ++it) {
            result += line.substr(last, it->position() - last);
            const std::string key = (*it)[1];
            result += std::to_string(key == "W" ? dialog : desk.ChildByText(dialog, key));
            last = it->position() + it->length();
        }
        out.push_back(result + line.substr(last));
    }
    return out;
}

struct Row {
    const char* name;
    Children children;
    bool autoclose;
    bool esc;
    ListEntries white;
    ListEntries black;
    // What was sent to the dialog's windows and what the message window was asked to do,
    // in the order it happened: the message is logged before OK is clicked, and shown after.
    std::vector<std::string> sequence;
};

const Children kBox = {{"Static", ""}, {"Button", "OK"}, {"Static", "Disk full"}};
const Children kYesNo = {
    {"Static", ""}, {"Static", "Save?"}, {"Button", "&Yes"}, {"Button", "&No"}};

TEST(ExamineWindow, DecisionTable) {
    const std::vector<Row> rows = {
        {"message box is closed, logged and shown",
         kBox,
         true,
         false,
         {},
         {},
         {"countdown", "log 'Cap' 'Disk full'", "BM_CLICK {OK}", "show {W} 'Cap' 'Disk full'"}},
        {"black-listed: closed and logged, not shown",
         kBox,
         true,
         false,
         {},
         {"disk"},
         {"countdown", "log 'Cap' 'Disk full'", "BM_CLICK {OK}"}},
        {"white-listed: only the countdown restarts",
         kBox,
         true,
         false,
         {"disk"},
         {},
         {"countdown"}},
        {"white list wins over black list", kBox, true, false, {"full"}, {"disk"}, {"countdown"}},
        {"autoclose off", kBox, false, false, {}, {}, {}},
        {"OK and Cancel",
         {{"Static", "Sure?"}, {"Button", "OK"}, {"Button", "Cancel"}},
         true,
         false,
         {},
         {},
         {}},
        {"single Close button", {{"Static", "Done"}, {"Button", "Close"}}, true, false, {}, {}, {}},
        {"OK with an edit field",
         {{"Static", "Name"}, {"Edit", ""}, {"Button", "OK"}},
         true,
         false,
         {},
         {},
         {}},
        {"OK with only an empty label",
         {{"Static", ""}, {"Button", "OK"}},
         true,
         false,
         {},
         {},
         {}},
        {"OK with a blank label",
         {{"Static", " \r\n "}, {"Button", "OK"}},
         true,
         false,
         {},
         {},
         {}},
        {"OK without any label", {{"Button", "OK"}}, true, false, {}, {}, {}},
        {"accelerator '&Ok' is OK",
         {{"Button", "&Ok"}, {"Static", "Hi"}},
         true,
         false,
         {},
         {},
         {"countdown", "log 'Cap' 'Hi'", "BM_CLICK {&Ok}", "show {W} 'Cap' 'Hi'"}},
        {"Delphi classes",
         {{"TStatic", "Hi"}, {"TButton", "OK"}},
         true,
         false,
         {},
         {},
         {"countdown", "log 'Cap' 'Hi'", "BM_CLICK {OK}", "show {W} 'Cap' 'Hi'"}},
        {"labels joined by an empty line, trimmed",
         {{"Static", "  first "}, {"Static", ""}, {"Button", "OK"}, {"Static", "second\n"}},
         true,
         false,
         {},
         {},
         {"countdown", "log 'Cap' 'first\r\n\r\nsecond'", "BM_CLICK {OK}",
          "show {W} 'Cap' 'first\r\n\r\nsecond'"}},
        {"unknown classes are ignored",
         {{"Static", "Hi"}, {"SysLink", "x"}, {"Button", "OK"}},
         true,
         false,
         {},
         {},
         {"countdown", "log 'Cap' 'Hi'", "BM_CLICK {OK}", "show {W} 'Cap' 'Hi'"}},
        {"OK plus No",
         {{"Static", "Hi"}, {"Button", "OK"}, {"Button", "No"}},
         true,
         false,
         {},
         {},
         {}},
        {"Yes/No without Esc", kYesNo, true, false, {}, {}, {}},
        {"Yes/No with Esc: No is clicked", kYesNo, true, true, {}, {}, {"BM_CLICK {&No}"}},
        {"Yes/No with Esc and autoclose off", kYesNo, false, true, {}, {}, {"BM_CLICK {&No}"}},
        {"Yes/No without text, Esc",
         {{"Button", "Yes"}, {"Button", "No"}},
         true,
         true,
         {},
         {},
         {"BM_CLICK {No}"}},
        {"Yes/No/Cancel with Esc",
         {{"Static", "Q"}, {"Button", "Yes"}, {"Button", "No"}, {"Button", "Cancel"}},
         true,
         true,
         {},
         {},
         {}},
        {"Yes/No with an edit, Esc",
         {{"Edit", ""}, {"Button", "Yes"}, {"Button", "No"}},
         true,
         true,
         {},
         {},
         {}},
        {"No alone with Esc", {{"Static", "Q"}, {"Button", "No"}}, true, true, {}, {}, {}},
        {"OK and Yes and No with Esc",
         {{"Button", "OK"}, {"Button", "Yes"}, {"Button", "No"}},
         true,
         true,
         {},
         {},
         {}},
    };
    for (const auto& row : rows) {
        Desk desk;
        desk.options.autoclose = row.autoclose;
        desk.SetList(ListKind::White, row.white);
        desk.SetList(ListKind::Black, row.black);
        const WindowHandle w = desk.ws.AddTopLevel("#32770", "Cap");
        for (const auto& [cls, text] : row.children) desk.ws.AddChild(w, cls, text);
        // Clicks are taken but leave the dialog in place, so the record names every child.
        desk.sink.timeline = &desk.ws;
        DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
        closer.ExamineWindow(w, row.esc);
        const auto expected = Expand(desk, w, row.sequence);
        EXPECT_EQ(desk.ws.Commands(), expected) << row.name << "\n"
                                                << DumpSequences(expected, desk.ws.Commands());
    }
}

TEST(ExamineWindow, LabelTextsJoinAsTheTrimmedConcatenation) {
    struct Case {
        std::vector<std::string> labels;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"  first ", "", "second\n"}, "first\r\n\r\nsecond"},
        {{"", " \t", ""}, ""},
        {{" a", "  b  ", "\r\nc"}, "a\r\n\r\n  b\r\n\r\n\r\nc"},  // inner ends stay
        {{"x\r\n\r\n", " "}, "x"},
        {{"\x01lead", "tail\x1F"}, "lead\r\n\r\ntail"},  // every code up to 32 is trimmed
        {{"\xA0nbsp\xA0"}, "\xA0nbsp\xA0"},              // 0xA0 is not
        {{}, ""},
    };
    for (const auto& c : cases) {
        std::string collected;
        std::string byDefinition;
        for (const auto& label : c.labels) {
            AppendLabelText(collected, label);
            byDefinition = TrimText(byDefinition + "\r\n\r\n" + label);
        }
        EXPECT_EQ(collected, c.expected);
        EXPECT_EQ(collected, byDefinition);
    }
    // Many labels join in one growing text.
    std::string collected;
    for (int i = 0; i < 20000; ++i) AppendLabelText(collected, " ab ");
    EXPECT_EQ(collected.size(), 2u + 19999u * (4 + 3));  // "ab", then CR LF CR LF " ab"
}

// The language's words for OK, Yes and No, and the built-in "OK", "YES" and "NO" beside them:
// programs on a Russian system show Latin buttons too.
TEST(ExamineWindow, LocalizedButtonWords) {
    const std::string ok = "\xCE\xCA", da = "\xC4\xE0", net = "\xCD\xE5\xF2";  // ОК Да Нет
    struct Case {
        const char* name;
        std::string okWord, yesWord, noWord;  // as the run-time texts hold them
        Children children;
        bool esc;
        std::string clicked;  // the text of the button clicked; empty: none
    };
    const std::vector<Case> cases = {
        {"Cyrillic OK word", ok, "YES", "NO", {{"Static", "Text"}, {"Button", ok}}, false, ok},
        {"word stored lower-case, button mixed case",
         "\xEE\xEA",
         "YES",
         "NO",
         {{"Static", "Text"}, {"Button", "\xCE\xEA"}},
         false,
         "\xCE\xEA"},
        {"Latin OK still works", ok, da, net, {{"Static", "Text"}, {"Button", "OK"}}, false, "OK"},
        {"Latin ok in lower case",
         ok,
         da,
         net,
         {{"Static", "Text"}, {"Button", "ok"}},
         false,
         "ok"},
        {"Cyrillic button without the word",
         "OK",
         "YES",
         "NO",
         {{"Static", "Text"}, {"Button", ok}},
         false,
         ""},
        {"Russian words, Latin Yes/No buttons, Esc",
         ok,
         da,
         net,
         {{"Static", "Q"}, {"Button", "&Yes"}, {"Button", "&No"}},
         true,
         "&No"},
        {"Russian words, Russian Yes/No buttons, Esc",
         ok,
         da,
         net,
         {{"Static", "Q"}, {"Button", "&" + da}, {"Button", "&" + net}},
         true,
         "&" + net},
        {"English words, Russian Yes/No buttons: not a Yes/No dialog",
         "OK",
         "YES",
         "NO",
         {{"Static", "Q"}, {"Button", da}, {"Button", net}},
         true,
         ""},
        {"Latin OK beside the language's No is no message box",
         ok,
         da,
         net,
         {{"Static", "Q"}, {"Button", "OK"}, {"Button", net}},
         false,
         ""},
        {"the language's Yes beside a Latin No, Esc",
         ok,
         da,
         net,
         {{"Static", "Q"}, {"Button", da}, {"Button", "No"}},
         true,
         "No"},
    };
    for (const auto& c : cases) {
        Desk desk;
        RunTexts texts;
        texts.ssOK = c.okWord;
        texts.ssYes = c.yesWord;
        texts.ssNo = c.noWord;
        desk.texts.Set(texts);
        const WindowHandle w = desk.ws.AddTopLevel("#32770", "Cap");
        for (const auto& [cls, text] : c.children) desk.ws.AddChild(w, cls, text);
        DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
        closer.ExamineWindow(w, c.esc);
        const std::vector<std::string> expected =
            c.clicked.empty()
                ? std::vector<std::string>{}
                : std::vector<std::string>{Msg("BM_CLICK", desk.ChildByText(w, c.clicked))};
        EXPECT_EQ(desk.ws.Commands(), expected) << c.name;
    }
}

TEST(ExamineWindow, LogEntryIsOneLine) {
    struct Case {
        std::string caption;
        std::string text;
        std::string entry;
    };
    const std::vector<Case> cases = {
        {"Setup", "A\r\nB", "Setup\r\nA#13#10B"},
        {"C", "a\rb\nc", "C\r\na#13b#10c"},
        {"C", "#13 stays", "C\r\n#13 stays"},
        {"", "", "\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(MakeLogEntry(c.caption, c.text), c.entry);

    // A label 'a' LF 'b' reaches the log as 'a' CR LF 'b' (the caption probe pairs the LF).
    Desk desk;
    const WindowHandle w = desk.AddMessageBox("Cap", "a\nb");
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    closer.ExamineWindow(w, false);
    ASSERT_GE(desk.sink.calls.size(), 2u);
    EXPECT_EQ(desk.sink.calls[1], "log 'Cap' 'a\r\nb'");
    EXPECT_EQ(MakeLogEntry("Cap", "a\r\nb"), "Cap\r\na#13#10b");
}

TEST(ExamineWindow, CaptionReplacementIsWrittenOnce) {
    Desk desk;
    desk.SetList(ListKind::Replace, {"Untitled*|My editor", "Same|Same"});
    const WindowHandle a = desk.ws.AddTopLevel("Notepad", "Untitled - Notepad");
    const WindowHandle b = desk.ws.AddTopLevel("Notepad", "Untitled - Other");
    const WindowHandle same = desk.ws.AddTopLevel("X", "Same");
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);

    closer.ExamineWindow(a, false);
    closer.ExamineWindow(a, false);  // caption now equals the last replacement: left alone
    closer.ExamineWindow(b, false);  // another caption: written
    closer.ExamineWindow(b, false);
    closer.ExamineWindow(same, false);  // the replacement equals the caption: nothing
    const std::vector<std::string> expected = {Msg("WM_SETTEXT", a, "'My editor'"),
                                               Msg("WM_SETTEXT", b, "'My editor'")};
    EXPECT_EQ(desk.ws.Commands(), expected) << DumpSequences(expected, desk.ws.Commands());
    EXPECT_EQ(desk.ws.Window(a).text, "My editor");
    EXPECT_EQ(closer.LastReplacedCaption(), "My editor");
}

TEST(ExamineWindow, CaptionsAreReadOnlyForReplacingAndLogging) {
    // Every window is examined at each full pass and the foreground one on every tick:
    // a caption is read while there are captions to replace, and otherwise only for the
    // message that is logged, once.
    struct Row {
        ListEntries replace;
        bool messageBox;
        std::size_t readsFirst;   // the first examination (a box's three children are read too)
        std::size_t readsRepeat;  // each further examination of the same window
        const char* captionAfter;
    };
    const Row rows[] = {
        {{}, false, 0, 0, "Untitled - Notepad"},
        {{}, true, 1 + 3, 0, "Untitled - Notepad"},
        {{"Untitled*|My editor"}, false, 1, 1, "My editor"},
        {{"Untitled*|My editor"}, true, 1 + 3, 1, "My editor"},
    };
    int row = 0;
    for (const Row& r : rows) {
        Desk desk;
        desk.SetList(ListKind::Replace, r.replace);
        const WindowHandle w = r.messageBox ? desk.AddMessageBox("Untitled - Notepad", "Saved.")
                                            : desk.ws.AddTopLevel("Notepad", "Untitled - Notepad");
        if (r.messageBox) desk.ws.Window(desk.ChildByText(w, "OK")).clickClosesDialog = false;
        DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
        closer.ExamineWindow(w, false);
        EXPECT_EQ(desk.ws.captionReads, r.readsFirst) << "row " << row;
        const std::size_t before = desk.ws.captionReads;
        for (int i = 0; i < 5; ++i) closer.ExamineWindow(w, false);
        if (!r.messageBox) {  // a box that was clicked is analysed again on every call
            EXPECT_EQ(desk.ws.captionReads - before, 5 * r.readsRepeat) << "row " << row;
        }
        EXPECT_EQ(desk.ws.Window(w).text, r.captionAfter) << "row " << row;
        if (r.messageBox) {
            ASSERT_GE(desk.sink.calls.size(), 2u);
            // The message keeps the caption it was shown with, before any replacement.
            EXPECT_EQ(desk.sink.calls[1], "log 'Untitled - Notepad' 'Saved.'") << "row " << row;
        }
        ++row;
    }
}

TEST(ExamineWindow, WhenAWindowIsAnalysedAgain) {
    Desk desk;
    desk.SetList(ListKind::White, {"keep"});
    const WindowHandle kept = desk.AddMessageBox("Cap", "keep me");
    const WindowHandle other = desk.ws.AddTopLevel("Other", "");
    const WindowHandle yesNo = desk.ws.AddTopLevel("#32770", "Q");
    desk.ws.AddChild(yesNo, "Button", "Yes");
    desk.ws.AddChild(yesNo, "Button", "No");
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);

    // White-listed: analysed once, then again only after another window was analysed.
    closer.ExamineWindow(kept, false);
    closer.ExamineWindow(kept, false);
    EXPECT_EQ(closer.LastExaminedWindow(), kept);
    EXPECT_EQ(desk.sink.calls, std::vector<std::string>{"countdown"});
    closer.ExamineWindow(other, false);
    closer.ExamineWindow(kept, false);
    EXPECT_EQ(desk.sink.calls, (std::vector<std::string>{"countdown", "countdown"}));

    // A No button resets it: the Yes/No dialog is analysed on every call.
    closer.ExamineWindow(yesNo, false);
    EXPECT_EQ(closer.LastExaminedWindow(), 0u);
    closer.ExamineWindow(yesNo, false);
    closer.ExamineWindow(yesNo, true);
    EXPECT_EQ(desk.ws.Commands(),
              std::vector<std::string>{Msg("BM_CLICK", desk.ChildByText(yesNo, "No"))});

    // After an OK click it is 0 again; the own message window is never examined.
    const WindowHandle box = desk.AddMessageBox("Cap", "bye");
    desk.ws.Window(desk.ChildByText(box, "OK")).clickClosesDialog = false;
    closer.ExamineWindow(box, false);
    EXPECT_EQ(closer.LastExaminedWindow(), 0u);
    // A closed dialog hides at once but lives on for a moment; looked at again in that moment
    // (the full pass of the same tick, an early look) it is not logged and clicked twice.
    const WindowHandle ending = desk.AddMessageBox("Cap", "ending");
    const WindowHandle endingOk = desk.ChildByText(ending, "OK");
    desk.ws.Window(endingOk).clickClosesDialog = false;
    desk.ws.Window(endingOk).clickEndsDialog = true;
    desk.ws.ClearLog();
    closer.ExamineWindow(ending, false);
    closer.ExamineWindow(ending, false);
    EXPECT_EQ(desk.ws.Commands(), std::vector<std::string>{Msg("BM_CLICK", endingOk)});
    const WindowHandle own = desk.AddMessageBox("Vantor", "own text");
    closer.SetOwnWindow(own);
    desk.ws.ClearLog();
    closer.ExamineWindow(own, false);
    EXPECT_TRUE(desk.ws.Log().empty());
    EXPECT_EQ(closer.LastExaminedWindow(), 0u);
}

TEST(ExamineWindow, AClickThatIsNotTakenIsNotReportedAsClosed) {
    Desk desk;
    const WindowHandle w = desk.AddMessageBox("Cap", "Disk full");
    const WindowHandle ok = desk.ChildByText(w, "OK");
    desk.ws.Window(ok).hung = true;
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    closer.ExamineWindow(w, false);
    EXPECT_EQ(desk.sink.calls, (std::vector<std::string>{"countdown", "log 'Cap' 'Disk full'"}));
    // Not analysed again on the next tick: no second log entry while the program hangs.
    closer.ExamineWindow(w, false);
    EXPECT_EQ(desk.sink.calls.size(), 2u);
    EXPECT_EQ(closer.LastExaminedWindow(), w);
    // Every full pass analyses it again (after another window); the message is in the log
    // once already, so only the click is tried again.
    for (int pass = 0; pass < 3; ++pass) {
        closer.ExamineWindow(0, false);
        closer.ExamineWindow(w, false);
    }
    // Once it answers, the next analysis closes it and shows it.
    desk.ws.Window(ok).hung = false;
    closer.ExamineWindow(0, false);
    closer.ExamineWindow(w, false);
    const std::vector<std::string> expected = {"countdown",
                                               "log 'Cap' 'Disk full'",
                                               "countdown",
                                               "countdown",
                                               "countdown",
                                               "countdown",
                                               Msg("show", w, "'Cap' 'Disk full'")};
    EXPECT_EQ(desk.sink.calls, expected) << DumpSequences(expected, desk.sink.calls);
    EXPECT_FALSE(desk.ws.Window(w).alive);

    // Two hung boxes analysed in turn by the full passes: each is logged once.
    const WindowHandle a = desk.AddMessageBox("A", "first");
    const WindowHandle b = desk.AddMessageBox("B", "second");
    desk.ws.Window(desk.ChildByText(a, "OK")).hung = true;
    desk.ws.Window(desk.ChildByText(b, "OK")).hung = true;
    desk.sink.calls.clear();
    for (int pass = 0; pass < 3; ++pass) {
        closer.ExamineWindow(a, false);
        closer.ExamineWindow(b, false);
    }
    EXPECT_EQ(std::count(desk.sink.calls.begin(), desk.sink.calls.end(), "log 'A' 'first'"), 1);
    EXPECT_EQ(std::count(desk.sink.calls.begin(), desk.sink.calls.end(), "log 'B' 'second'"), 1);
    EXPECT_EQ(desk.sink.calls.size(), 8u);  // six countdowns and the two entries
}

TEST(ExamineWindow, GrandchildrenAndVanishedWindowsAreNotRecognised) {
    Desk desk;
    const WindowHandle w = desk.ws.AddTopLevel("#32770", "Cap");
    const WindowHandle panel = desk.ws.AddChild(w, "Panel", "");
    desk.ws.AddChild(panel, "Static", "Text");
    desk.ws.AddChild(panel, "Button", "OK");
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    closer.ExamineWindow(w, false);
    closer.ExamineWindow(12345, false);
    closer.ExamineWindow(0, false);
    EXPECT_TRUE(desk.ws.Commands().empty());
    EXPECT_TRUE(desk.sink.calls.empty());
}

// A child chain that runs in a circle (a tree changing while it is walked) ends the walk, and
// a dialog whose buttons then seem to repeat is not taken for a message box.
TEST(ExamineWindow, AChildChainInACircleEndsAndIsNotClicked) {
    Desk desk;
    desk.ws.chainStepLimit = 1'000'000;
    const WindowHandle w = desk.AddMessageBox("Cap", "Disk full");
    const std::vector<WindowHandle> children = desk.ws.Window(w).children;
    desk.ws.LinkNext(children.back(), children.front());
    desk.ws.recordReads = false;
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    closer.ExamineWindow(w, false);
    EXPECT_LT(desk.ws.chainSteps, desk.ws.chainStepLimit);
    EXPECT_TRUE(desk.ws.Commands().empty()) << DumpSequences({}, desk.ws.Commands());
    EXPECT_TRUE(desk.sink.calls.empty());
}

}  // namespace
}  // namespace vantor::testing
