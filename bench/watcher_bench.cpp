// The watcher's own cost per timer tick, against the in-memory window manager of the tests
// (so the figures leave out the platform's calls and measure only the engine).
#include <benchmark/benchmark.h>

#include <string>

// The fake desktop is the unit tests' own (added to this target by bench/CMakeLists.txt).
#include "fake_window_system.h"
#include "ui/spy.h"
#include "watcher/advanced_list.h"
#include "watcher/scanner.h"
#include "watcher_test_support.h"

namespace vantor::testing {
namespace {

// A main window of an ordinary program with eight controls, none of them a message dialog.
WindowHandle AddAppWindow(FakeWindowSystem& ws, int n) {
    const WindowHandle w = ws.AddTopLevel("TForm", "Setup Wizard " + std::to_string(n));
    ws.AddChild(w, "TLabel", "Please read the licence agreement below");
    ws.AddChild(w, "Edit", "C:\\Program Files\\Example");
    ws.AddChild(w, "TCheckBox", "Create a desktop icon");
    ws.AddChild(w, "TCheckBox", "Start after install");
    ws.AddChild(w, "TButton", "< &Back");
    ws.AddChild(w, "TButton", "&Next >");
    ws.AddChild(w, "TButton", "Cancel");
    ws.AddChild(w, "TButton", "&Help");
    return w;
}

void BM_ScannerIdleTick(benchmark::State& state) {
    Desk desk;
    desk.ws.recordReads = false;
    desk.SetList(ListKind::Replace, {"Total Commander 7.0 - public*|TC", "Untitled*|Editor",
                                     "[2] Total*|Two", "Document1*|Doc", "*Mozilla*|Browser"});
    desk.ws.SetForeground(AddAppWindow(desk.ws, 0));
    Scanner scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    scanner.ScannerTick();  // analyses the window and makes the first full pass
    for (auto _ : state) scanner.ScannerTick();
    if (!desk.sink.calls.empty() || !desk.ws.Commands().empty()) state.SkipWithError("acted");
}
BENCHMARK(BM_ScannerIdleTick);

void BM_AdvancedListSteadyTick(benchmark::State& state) {
    Desk desk;
    desk.ws.recordReads = false;
    desk.ws.SetForeground(AddAppWindow(desk.ws, 0));
    ListEntries rules;
    for (int i = 0; i < 50; ++i) {
        // Main field matches (class, and caption by substring or wildcard); child never does.
        const std::string main = i % 2 ? "TForm=Setup" : "TForm=Setup*";
        const std::string child =
            i % 3 ? "TLabel=missing " + std::to_string(i) : "TStatic=*never*" + std::to_string(i);
        rules.push_back(main + "|" + child + "|TButton=&Next");
    }
    desk.SetList(ListKind::Main, rules);
    AdvancedList list(desk.ws, desk.lists, desk.sink, desk.texts);
    for (auto _ : state) list.AdvancedListTick();
    if (!desk.sink.calls.empty() || !desk.ws.Commands().empty()) state.SkipWithError("acted");
}
BENCHMARK(BM_AdvancedListSteadyTick);

void BM_FullPass300x8(benchmark::State& state) {
    Desk desk;
    desk.ws.recordReads = false;
    for (int i = 0; i < 300; ++i) AddAppWindow(desk.ws, i);
    Scanner scanner(desk.ws, desk.lists, desk.sink, desk.options, desk.texts);
    for (auto _ : state) scanner.FullPass();
    if (!desk.sink.calls.empty() || !desk.ws.Commands().empty()) state.SkipWithError("acted");
}
BENCHMARK(BM_FullPass300x8)->Unit(benchmark::kMicrosecond);

// The spy with the pointer resting over one window of a desktop of 30, against the two
// system calls it makes per tick (cursor position, window under it) alone: the difference
// is the spy's own cost per tick.
struct SpyDesk {
    SpyDesk() {
        ws.recordReads = false;
        form = ws.AddTopLevel("VantorMessageWindow", "Spy");
        ws.Window(form).rect = {900, 700, 1130, 800};
        for (int i = 0; i < 30; ++i) {
            const WindowHandle w = AddAppWindow(ws, i);
            ws.Window(w).rect = {20 * i, 0, 20 * i + 300, 200};
        }
        ws.cursorX = 590;
        ws.cursorY = 100;
    }
    FakeWindowSystem ws;
    WindowHandle form = 0;
};

void BM_SpyRestingTick(benchmark::State& state) {
    SpyDesk desk;
    Spy spy(desk.ws);
    spy.SetOwnWindow(desk.form);
    if (spy.Tick(true).action != SpyStep::kShow) state.SkipWithError("nothing under the pointer");
    for (auto _ : state) {
        SpyStep step = spy.Tick(true);
        benchmark::DoNotOptimize(step);
        if (step.action != SpyStep::kNothing) state.SkipWithError("rebuilt");
    }
}
BENCHMARK(BM_SpyRestingTick);

void BM_SpyTwoSystemCallsAlone(benchmark::State& state) {
    SpyDesk desk;
    for (auto _ : state) {
        std::int32_t x = 0, y = 0;
        desk.ws.CursorPos(x, y);
        WindowHandle under = desk.ws.WindowFromPoint(x, y);
        benchmark::DoNotOptimize(under);
    }
}
BENCHMARK(BM_SpyTwoSystemCallsAlone);

}  // namespace
}  // namespace vantor::testing
