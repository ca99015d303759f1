// The window spy against the fake desktop: what it shows for a window, and which ticks
// rebuild the text as the pointer moves.
#include "ui/spy.h"

#include <gtest/gtest.h>

#include "fake_window_system.h"

namespace vantor::testing {
namespace {

TEST(Spy, TextOfAWindowItsChildrenAndItsOwner) {
    FakeWindowSystem ws;
    const WindowHandle box = ws.AddTopLevel("#32770", "Title");
    ws.AddChild(box, "Static", "");
    const WindowHandle ok = ws.AddChild(box, "Button", "&OK");
    const WindowHandle text = ws.AddChild(box, "Static", "two\r\nlines");
    const WindowHandle form = ws.AddTopLevel("TForm", "Main\nform");
    const WindowHandle panel = ws.AddChild(form, "TPanel", "");
    ws.AddChild(panel, "TEdit", "a&b");
    ws.AddChild(panel, "TButton", "&Go");
    const WindowHandle bare = ws.AddTopLevel("Bare", "x");
    const WindowHandle hung = ws.AddChild(form, "Edit", "never read");
    ws.Window(hung).hung = true;
    struct Case {
        const char* name;
        WindowHandle window;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"button of a message box", ok, "Button=&OK\r\n\r\nOWNER:#32770=Title"},
        {"line breaks escaped, the owner's kept", text,
         "Static=two#13#10lines\r\n\r\nOWNER:#32770=Title"},
        {"dialog without owner", box,
         "#32770=Title\r\nStatic=\r\nButton=OK\r\nStatic=two#13#10lines\r\n"},
        {"children of the first panel", form, "TForm=Main#10form\r\nTEdit=ab\r\nTButton=Go\r\n"},
        {"owner text with a line break", panel,
         "TPanel=\r\nTEdit=ab\r\nTButton=Go\r\n\r\nOWNER:TForm=Main\nform"},
        {"no children, no owner", bare, "Bare=x\r\n"},
        {"hung window reads empty", hung, "Edit=\r\n\r\nOWNER:TForm=Main\nform"},
        {"vanished window", 999, "=\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(SpyText(ws, c.window), c.expected) << c.name;
}

TEST(Spy, TicksRebuildOnlyWhenThePointerReachesAnotherWindow) {
    FakeWindowSystem ws;
    const WindowHandle form = ws.AddTopLevel("VantorMessageWindow", "Spy");
    ws.Window(form).rect = {900, 700, 1130, 800};
    const WindowHandle edit = ws.AddChild(form, "Edit", "Information about windows.");
    ws.Window(edit).rect = {900, 700, 1130, 770};
    const WindowHandle close = ws.AddChild(form, "Button", "Close");
    ws.Window(close).rect = {900, 770, 980, 800};
    const WindowHandle a = ws.AddTopLevel("A", "first");
    ws.Window(a).rect = {0, 0, 300, 200};
    const WindowHandle b = ws.AddTopLevel("B", "second");
    ws.Window(b).rect = {400, 0, 700, 200};
    const WindowHandle c = ws.AddChild(b, "Button", "Child");
    ws.Window(c).rect = {410, 10, 500, 50};

    struct Step {
        const char* name;
        std::int32_t x, y;
        bool visible;
        SpyStep::Action action;
        std::string text;
    };
    const std::vector<Step> steps = {
        {"over A", 10, 10, true, SpyStep::kShow, "A=first\r\n"},
        {"resting over A", 20, 20, true, SpyStep::kNothing, ""},
        {"over our Close button", 910, 780, true, SpyStep::kNothing, ""},
        {"over our text area", 1000, 710, true, SpyStep::kNothing, ""},
        {"over our form's own edge", 1100, 790, true, SpyStep::kNothing, ""},
        {"over B's button", 420, 20, true, SpyStep::kShow, "Button=Child\r\n\r\nOWNER:B=second"},
        {"back over A", 10, 10, true, SpyStep::kShow, "A=first\r\n"},
        {"over nothing", 800, 500, true, SpyStep::kNothing, ""},
        {"the window was hidden", 420, 20, false, SpyStep::kStop, ""},
        {"started again over A", 10, 10, true, SpyStep::kNothing, ""},
    };
    Spy spy(ws);
    spy.SetOwnWindow(form);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        ws.cursorX = s.x;
        ws.cursorY = s.y;
        ws.ClearLog();
        const SpyStep step = spy.Tick(s.visible);
        EXPECT_EQ(step.action, s.action);
        EXPECT_EQ(step.text, s.text);
        if (step.action != SpyStep::kShow) {
            EXPECT_TRUE(ws.Log().empty()) << "nothing is read";
        }
    }
    EXPECT_EQ(spy.LastSpiedWindow(), a);
    Spy early(ws);  // before its own window is known, a top-level window is no own control
    EXPECT_EQ(early.Tick(true).action, SpyStep::kShow);
}

}  // namespace
}  // namespace vantor::testing
