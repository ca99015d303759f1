// Which dialogs the message-dialog analysis takes for a message box and which button it
// presses: every row of its decision table, the language's button words, and child trees it
// must not trust.
#include <gtest/gtest.h>

#include <regex>

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
