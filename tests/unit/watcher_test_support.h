// A desk for the engine's tests: the fake window system, the lists with their built-in
// class lists, a message sink that records every call (tests/support), and switchable live
// options.
#pragma once

#include <string>
#include <vector>

#include "fake_window_system.h"
#include "lang/run_texts.h"
#include "lists/list_files.h"
#include "recording_sink.h"

namespace vantor::testing {

class SwitchOptions : public LiveOptions {
  public:
    bool Autoclose() const override { return autoclose; }
    bool ChangeCase() const override { return changeCase; }
    bool ChangeCaseFirst() const override { return changeCaseFirst; }
    bool SelectAll() const override { return selectAll; }
    bool CloseYesNo() const override { return closeYesNo; }
    bool autoclose = true;
    bool changeCase = true;
    bool changeCaseFirst = false;
    bool selectAll = true;
    bool closeYesNo = true;
};

struct Desk {
    Desk() {
        lists.Get(ListKind::Button).Publish(LoadClassList("Button.ini", std::nullopt));
        lists.Get(ListKind::Static).Publish(LoadClassList("Static.ini", std::nullopt));
        lists.Get(ListKind::Edit).Publish(LoadClassList("Edit.ini", std::nullopt));
    }
    void SetList(ListKind kind, ListEntries entries) {
        lists.Get(kind).Publish(std::move(entries));
    }

    // A message box as the system builds it: icon label, OK button, text label.
    WindowHandle AddMessageBox(const std::string& caption, const std::string& text,
                               std::uint32_t thread = 7) {
        const WindowHandle box = ws.AddTopLevel("#32770", caption, thread);
        ws.AddChild(box, "Static", "");
        const WindowHandle ok = ws.AddChild(box, "Button", "OK");
        ws.Window(ok).clickClosesDialog = true;
        ws.AddChild(box, "Static", text);
        return box;
    }
    WindowHandle ChildByText(WindowHandle parent, const std::string& text) {
        for (WindowHandle c : ws.Window(parent).children)
            if (ws.Window(c).text == text) return c;
        return 0;
    }

    FakeWindowSystem ws;
    ProgramLists lists;
    RecordingSink sink;
    SwitchOptions options;
    SharedRunTexts texts;
};

}  // namespace vantor::testing
