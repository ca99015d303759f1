// The message-dialog analysis stops reading a window once its outcome is known; these tests
// hold it to the decisions of the walk that read every child.
#include <gtest/gtest.h>

#include <random>

#include "base/text.h"
#include "watcher/dialog_closer.h"
#include "watcher/window_readings.h"
#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

// What the analysis did before it learned to stop early: every child read, then the decision
// table. The record it leaves (countdown, log entry, click, show) is what the closer must do.
std::vector<std::string> FullWalk(Desk& desk, WindowHandle w, bool esc) {
    const auto buttons = desk.lists.Snapshot(ListKind::Button);
    const auto statics = desk.lists.Snapshot(ListKind::Static);
    const auto edits = desk.lists.Snapshot(ListKind::Edit);
    int count = 0;
    bool ok = false, no = false, yes = false, other = false, edit = false, label = false;
    WindowHandle okButton = 0, noButton = 0;
    std::string text;
    for (WindowHandle c : desk.ws.Window(w).children) {
        const FakeWindow& child = desk.ws.Window(c);
        const std::string cls = UpperCase1251(child.cls);
        const std::string upper = UpperCase1251(WindowCaption(desk.ws, c));
        if (IsListedClass(*buttons, cls)) {
            ++count;
            if (upper == "OK") {
                ok = true;
                okButton = c;
            } else if (upper == "NO") {
                no = true;
                noButton = c;
            } else {
                (upper == "YES" ? yes : other) = true;
            }
        } else if (IsListedClass(*edits, cls) || (IsInputClass(cls) && child.visible)) {
            edit = true;
        } else if (IsListedClass(*statics, cls)) {
            label = true;
            AppendLabelText(text, WindowCaption(desk.ws, c));
        }
    }
    if (no && yes && !ok && !other && !edit && esc) return {Msg("BM_CLICK", noButton)};
    if (!desk.options.autoclose || count != 1 || !ok || IsBlank(text) || !label || no || other ||
        edit)
        return {};
    return {"countdown", "log 'Cap' '" + text + "'", Msg("BM_CLICK", okButton),
            "show " + std::to_string(w) + " 'Cap' '" + text + "'"};
}

// The walk that stops early decides as the full walk did, on many random dialogs.
TEST(ExamineWindow, StoppingEarlyDecidesAsTheFullWalk) {
    // Weighted towards message boxes, so that every row of the table comes up often.
    const std::vector<std::string> classes = {"Button",  "TButton",          "Static", "Static",
                                              "TStatic", "Static",           "Edit",   "ComboBox",
                                              "SysLink", "msctls_progress32"};
    const std::vector<std::string> words = {"OK", "OK", "&Ok", "Yes", "&No", "No", "Cancel"};
    const std::vector<std::string> texts = {"", " ", "Hi", "Hi", "Disk\nfull", "OK"};
    std::mt19937 random(16);
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    Desk desk;
    desk.sink.timeline = &desk.ws;
    desk.ws.recordReads = false;
    DialogCloser closer(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    int acted = 0;
    for (int i = 0; i < 5000; ++i) {
        desk.options.autoclose = pick(4) != 0;
        const bool esc = pick(3) == 0;
        const WindowHandle w = desk.ws.AddTopLevel("#32770", "Cap");
        for (std::size_t n = 1 + pick(4); n > 0; --n) {
            const std::string& cls = classes[pick(classes.size())];
            const auto& pool = cls.ends_with("Button") ? words : texts;
            const WindowHandle c = desk.ws.AddChild(w, cls, pool[pick(pool.size())]);
            desk.ws.Window(c).visible = pick(8) != 0;
        }
        desk.ws.ClearLog();
        const std::vector<std::string> expected = FullWalk(desk, w, esc);
        closer.ExamineWindow(w, esc);
        acted += !expected.empty();
        ASSERT_EQ(desk.ws.Commands(), expected) << "dialog " << i << "\n"
                                                << DumpSequences(expected, desk.ws.Commands());
    }
    EXPECT_GT(acted, 100) << "the random dialogs reach the actions too";
}

}  // namespace
}  // namespace vantor::testing
