// The probes against the fake window manager: class names, captions, control texts, child
// listings and class-list membership, as the engine and the spy read them.
#include <gtest/gtest.h>

#include <functional>

#include "ui/spy.h"
#include "watcher/window_readings.h"
#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

TEST(WindowClassName, EscapesControlCharactersAndCutsAt254) {
    struct Case {
        std::string cls;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Button", "Button"},
        {"#32770", "#32770"},
        {"My\tClass", "My#9Class"},
        {std::string("\x01x\x1F", 3), "#1x#31"},
        {std::string(300, 'C'), std::string(254, 'C')},
        {std::string(253, 'C') + "\t" + "tail", std::string(253, 'C') + "#9"},
        {"\xD2\xE5\xF1\xF2", "\xD2\xE5\xF1\xF2"},  // Cyrillic bytes stay, not upper-cased
        {"", ""},
    };
    for (const auto& c : cases) {
        FakeWindowSystem ws;
        const WindowHandle w = ws.AddTopLevel(c.cls, "");
        EXPECT_EQ(WindowClassName(ws, w), c.expected) << "class " << c.cls.substr(0, 40);
    }
    FakeWindowSystem ws;
    EXPECT_EQ(WindowClassName(ws, 0), "");
    EXPECT_EQ(WindowClassName(ws, 99), "");
}

TEST(WindowCaption, MakesLineBreaksCrLfAndDropsAcceleratorMarks) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Line1\nLine2\r", "Line1\r\nLine2\r\n"},
        {"a\r\nb", "a\r\nb"},
        {"\n\r", "\r\n\r\n"},
        {"\r\r\n\n", "\r\n\r\n\r\n"},
        {"Save &As && Close", "Save As & Close"},
        {"&OK", "OK"},
        {"A&&B", "A&B"},
        {"&&&", "&&"},
        {"end&", "end"},
        {std::string(1100, 'x'), std::string(1023, 'x')},
        {"", ""},
    };
    for (const auto& c : cases) {
        FakeWindowSystem ws;
        const WindowHandle w = ws.AddTopLevel("X", c.text);
        EXPECT_EQ(WindowCaption(ws, w), c.expected) << "caption " << c.text.substr(0, 40);
    }
}

// The two ampersand rules and the line-break rule written out literally, as in-place walks
// over 1-based positions, to compare with the probes on every short text of the bytes that
// matter.
std::string CaptionByInPlaceWalk(std::string s) {
    for (std::size_t p = s.size(); p >= 1; --p) {
        if (s[p - 1] == '\n' && (p == 1 || s[p - 2] != '\r')) s.insert(p - 1, 1, '\r');
        if (s[p - 1] == '\r' && (p == s.size() || s[p] != '\n')) s.insert(p, 1, '\n');
    }
    for (std::size_t p = s.size(); p >= 1; --p) {
        if (s[p - 1] == '&' && (p == 1 || s[p - 2] != '&')) s.erase(p - 1, 1);
    }
    return s;
}

std::string ListingTextBySearch(std::string s) {
    for (std::size_t from = 0;;) {
        const std::size_t p = s.find('&', from);
        if (p == std::string::npos) break;
        if (p + 1 < s.size() && s[p + 1] != '&') s.erase(p, 1);
        from = p + 1;
    }
    return s;
}

TEST(WindowCaption, AgreesWithTheLiteralWalksOnEveryShortText) {
    const std::string alphabet = {'a', '\r', '\n', '&'};
    std::vector<std::string> texts = {""};
    for (std::size_t begin = 0, length = 1; length <= 7; ++length) {
        const std::size_t end = texts.size();
        for (std::size_t i = begin; i < end; ++i)
            for (char ch : alphabet) texts.push_back(texts[i] + ch);
        begin = end;
    }
    FakeWindowSystem ws;
    const WindowHandle w = ws.AddTopLevel("X", "");
    int mismatches = 0;
    for (const std::string& text : texts) {
        ws.Window(w).text = text;
        ws.Window(w).reportedLength.reset();
        if (WindowCaption(ws, w) != CaptionByInPlaceWalk(text)) ++mismatches;
        const std::string line = ListingText(ListChildren(ws, 0, w));
        if (line != "X=" + EscapeLineBreaks(ListingTextBySearch(text)) + "\r\n") ++mismatches;
    }
    EXPECT_EQ(texts.size(), 21845u);
    EXPECT_EQ(mismatches, 0);
}

TEST(ControlText, SurvivesOddLengthsAndSilentControls) {
    struct Case {
        const char* name;
        std::string text;
        std::optional<std::int64_t> reported;
        std::optional<std::string> written;
        bool hung;
        std::string expected;
        std::vector<std::string> sent;  // "%" stands for the control's handle
    };
    const std::string cap = std::to_string(kMaxControlText + 1);
    const std::vector<Case> cases = {
        {"plain",
         "Hello\r\n&x",
         {},
         {},
         false,
         "Hello\r\n&x",
         {"WM_GETTEXTLENGTH %", "WM_GETTEXT % 10"}},
        {"empty: no WM_GETTEXT", "", {}, {}, false, "", {"WM_GETTEXTLENGTH %"}},
        {"negative length", "abc", -5, {}, false, "", {"WM_GETTEXTLENGTH %"}},
        {"absurd length is capped",
         "abc",
         std::int64_t{1} << 40,
         {},
         false,
         "abc",
         {"WM_GETTEXTLENGTH %", "WM_GETTEXT % " + cap}},
        {"text shrank",
         "",
         100,
         std::string("short"),
         false,
         "short",
         {"WM_GETTEXTLENGTH %", "WM_GETTEXT % 101"}},
        {"text grew",
         "",
         3,
         std::string("abcdef"),
         false,
         "abc",
         {"WM_GETTEXTLENGTH %", "WM_GETTEXT % 4"}},
        {"hung control", "abc", {}, {}, true, "", {"WM_GETTEXTLENGTH %"}},
    };
    for (const auto& c : cases) {
        FakeWindowSystem ws;
        const WindowHandle w = ws.AddTopLevel("Edit", c.text);
        ws.Window(w).reportedLength = c.reported;
        ws.Window(w).writtenText = c.written;
        ws.Window(w).hung = c.hung;
        EXPECT_EQ(ControlText(ws, w), c.expected) << c.name;
        std::vector<std::string> sent;
        for (auto s : c.sent) sent.push_back(s.replace(s.find('%'), 1, std::to_string(w)));
        EXPECT_EQ(ws.Log(), sent) << c.name << "\n" << DumpSequences(sent, ws.Log());
    }
    FakeWindowSystem ws;
    EXPECT_EQ(ControlText(ws, 42), "");
}

TEST(ChildWindowList, DescendsAlongFirstChildrenAndEscapes) {
    FakeWindowSystem ws;
    // A flat dialog.
    const WindowHandle dlg = ws.AddTopLevel("#32770", "Dialog");
    const WindowHandle b1 = ws.AddChild(dlg, "Button", "&Save");
    const WindowHandle s1 = ws.AddChild(dlg, "Static", "two\r\nlines\n");
    const WindowHandle b2 = ws.AddChild(dlg, "Button", "A=B");
    const WindowHandle t1 = ws.AddChild(dlg, "My\tClass", "&&x a&");
    EXPECT_EQ(ListingText(ListChildren(ws, dlg, dlg)),
              "Button=Save\r\nStatic=two#13#10lines#10\r\nButton=A=B\r\nMy#9Class=&x a&\r\n");
    // Each record carries its child's own handle, whatever its text holds.
    std::vector<WindowHandle> handles;
    for (const ChildRecord& r : ListChildren(ws, dlg, dlg).children) handles.push_back(r.handle);
    EXPECT_EQ(handles, (std::vector<WindowHandle>{b1, s1, b2, t1}));

    // A window whose first child is a panel with children: only the innermost first level.
    const WindowHandle main = ws.AddTopLevel("TForm", "Main");
    const WindowHandle panel = ws.AddChild(main, "TPanel", "");
    const WindowHandle inner = ws.AddChild(panel, "TPanel", "");
    ws.AddChild(inner, "TEdit", "deep1");
    ws.AddChild(inner, "TButton", "deep2");
    ws.AddChild(panel, "TButton", "skipped: sibling of a window with children");
    ws.AddChild(main, "TButton", "skipped too");
    EXPECT_EQ(ListingText(ListChildren(ws, main, main)), "TEdit=deep1\r\nTButton=deep2\r\n");

    // No children, a vanished window, and a start that is a leaf below the root.
    const WindowHandle bare = ws.AddTopLevel("Bare", "x");
    EXPECT_TRUE(ListChildren(ws, bare, bare).children.empty());
    EXPECT_TRUE(ListChildren(ws, 999, 999).children.empty());
    EXPECT_EQ(ListingText(ListChildren(ws, dlg, b2)), "Button=A=B\r\nMy#9Class=&x a&\r\n");
}

// A window tree that changes while it is walked can hand back a chain that runs in a circle;
// the walk still ends, after listing the real children first.
TEST(ChildWindowList, ChainsThatRunInACircleEndTheWalk) {
    struct Case {
        const char* name;
        std::function<void(FakeWindowSystem&, WindowHandle root, WindowHandle a, WindowHandle b)>
            bend;
        std::string startsWith;
    };
    const std::vector<Case> cases = {
        {"siblings loop back to the first child",
         [](FakeWindowSystem& ws, WindowHandle, WindowHandle a, WindowHandle b) {
             ws.LinkNext(b, a);
         },
         "Button=A\r\nButton=B\r\nButton=A\r\n"},
        {"a sibling that follows itself",
         [](FakeWindowSystem& ws, WindowHandle, WindowHandle a, WindowHandle) {
             ws.LinkNext(a, a);
         },
         "Button=A\r\nButton=A\r\n"},
        {"first children that loop",
         [](FakeWindowSystem& ws, WindowHandle, WindowHandle a, WindowHandle b) {
             ws.LinkFirstChild(a, b);
             ws.LinkFirstChild(b, a);
         },
         "Button="},
        {"a first child whose first child is the root",
         [](FakeWindowSystem& ws, WindowHandle root, WindowHandle a, WindowHandle) {
             ws.LinkFirstChild(a, root);
         },
         ""},
    };
    for (const auto& c : cases) {
        FakeWindowSystem ws;
        ws.chainStepLimit = 1'000'000;
        const WindowHandle root = ws.AddTopLevel("#32770", "Dialog");
        const WindowHandle a = ws.AddChild(root, "Button", "A");
        const WindowHandle b = ws.AddChild(root, "Button", "B");
        c.bend(ws, root, a, b);
        ws.recordReads = false;
        const std::string listing = ListingText(ListChildren(ws, root, root));
        EXPECT_LT(ws.chainSteps, ws.chainStepLimit) << c.name;
        EXPECT_EQ(listing.compare(0, c.startsWith.size(), c.startsWith), 0) << c.name;
        EXPECT_LT(listing.size(), std::size_t{16} << 20) << c.name;
    }
}

// Whatever a window holds, one listing reads at most 4096 children and 1 MiB of text.
TEST(ListChildren, StaysWithinItsCaps) {
    FakeWindowSystem ws;
    ws.recordReads = false;
    const WindowHandle crowded = ws.AddTopLevel("TForm", "");
    for (int i = 0; i < 5000; ++i) ws.AddChild(crowded, "TLabel", "x");
    EXPECT_EQ(ListChildren(ws, crowded, crowded).children.size(), kMaxListedChildren);
    const WindowHandle wordy = ws.AddTopLevel("TForm", "");
    for (int i = 0; i < 3; ++i) ws.AddChild(wordy, "TMemo", std::string(600u << 10, 'a'));
    const ChildListing listing = ListChildren(ws, wordy, wordy);
    std::size_t total = 0;
    for (const ChildRecord& child : listing.children) total += child.text.size();
    EXPECT_EQ(total, kMaxListingText);
    EXPECT_FALSE(listing.cutShort);
}

TEST(ClassLists, MembershipWithTheBuiltInLists) {
    Desk desk;
    const auto buttons = desk.lists.Snapshot(ListKind::Button);
    const auto statics = desk.lists.Snapshot(ListKind::Static);
    const auto edits = desk.lists.Snapshot(ListKind::Edit);
    struct Case {
        const ListEntries* list;  // nullptr: the built-in input classes
        std::string name;
        bool expected;
    };
    const std::vector<Case> cases = {
        {edits.get(), "EDIT", true},
        {edits.get(), "edit", true},
        {edits.get(), "RichEdit20W", true},
        {edits.get(), "WindowsForms10.EDIT.app3", true},
        {edits.get(), "", false},
        {edits.get(), "ListBox", false},
        {edits.get(), "EDI", false},
        {buttons.get(), "TBitBtn", true},
        {buttons.get(), "BUTTON", true},
        {buttons.get(), "STATIC", false},
        {statics.get(), "Static", true},
        {statics.get(), "MSOUNISTAT", true},
        {statics.get(), "#32770", false},
        // Controls that ask for a choice: the system's names in any case, framework variants.
        {nullptr, "ComboBox", true},
        {nullptr, "COMBOBOXEX32", true},
        {nullptr, "listbox", true},
        {nullptr, "SysListView32", true},
        {nullptr, "SysTreeView32", true},
        {nullptr, "RichEdit", true},
        {nullptr, "RichEdit20A", true},
        {nullptr, "RICHEDIT50W", true},
        {nullptr, "SysDateTimePick32", true},
        {nullptr, "msctls_updown32", true},
        {nullptr, "msctls_trackbar32", true},
        {nullptr, "SysIPAddress32", true},
        {nullptr, "msctls_hotkey32", true},
        {nullptr, "TComboBox", true},
        {nullptr, "TCheckListBox", true},
        {nullptr, "TDateTimePicker", true},
        {nullptr, "WindowsForms10.COMBOBOX.app.0.141b42a_r6_ad1", true},
        {nullptr, "WindowsForms10.SysTreeView32.app.0.1", true},
        {nullptr, "ThunderRT6ComboBox", true},
        // Decoration and the parts of a message box are no input.
        {nullptr, "Static", false},
        {nullptr, "Button", false},
        {nullptr, "msctls_progress32", false},
        {nullptr, "SysAnimate32", false},
        {nullptr, "TButton", false},
        {nullptr, "TImage", false},
        {nullptr, "WindowsForms10.STATIC.app.0.1", false},
        {nullptr, "DirectUIHWND", false},
        {nullptr, "", false},
        {nullptr, "T", false},
    };
    for (const auto& c : cases) {
        const bool found = c.list ? IsListedClass(*c.list, c.name) : IsInputClass(c.name);
        EXPECT_EQ(found, c.expected) << c.name;
    }
}

TEST(FocusedControlOf, FollowsTheWindowsThreadAndFailsToZero) {
    FakeWindowSystem ws;
    const WindowHandle a = ws.AddTopLevel("A", "", 3);
    const WindowHandle edit = ws.AddChild(a, "Edit", "");
    const WindowHandle b = ws.AddTopLevel("B", "", 4);
    ws.SetFocus(3, edit);
    EXPECT_EQ(FocusedControlOf(ws, a), edit);
    EXPECT_EQ(FocusedControlOf(ws, b), 0u);
    ws.SetAttachFails(true);
    EXPECT_EQ(FocusedControlOf(ws, a), 0u);
}

}  // namespace
}  // namespace vantor::testing
