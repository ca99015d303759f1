// When the message-dialog analysis looks at a window again: a caption replacement is written
// once and captions are read only when needed, a remembered window is left alone until
// another was looked at, and a box whose program ignores the click is logged once.
#include <gtest/gtest.h>

#include <algorithm>

#include "watcher/dialog_closer.h"
#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

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

}  // namespace
}  // namespace vantor::testing
