// e2e-timeout: 240
// The early look at other programs' new windows, against real programs under Wine: a box
// behind another window is closed at once rather than at the next full pass; a dialog whose
// text comes after it is shown is logged with its final text; programs that stopped answering
// hold up nobody else; and with "WindowEvents=0" the full pass is back to closing such a box.
#include <gtest/gtest.h>

#include <string>

#include "e2e_support.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

// Opens a box behind a cover window and returns how long it waited for its OK, or a negative
// value when it was not answered within 8 s.
int BoxBehindWaits(const std::string& folder, const std::string& name) {
    const std::string report = folder + name + ".txt";
    Process box = Process::Start(ToolPath("app_box_behind"), {name, "hidden " + name, report});
    if (!box.Started() || box.WaitExit(8000) != std::optional<DWORD>(IDOK)) return -1;
    return WaitedMs(report);
}

TEST(Events, ABoxBehindACoverWindowIsClosedAtOnce) {
    const std::string folder = FreshFolder();
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    for (const char* name : {"behind one e2e", "behind two e2e"}) {
        const int waited = BoxBehindWaits(folder, name);
        EXPECT_GE(waited, 0) << name;
        EXPECT_LE(waited, 300) << name << ": waited for a full pass";
        EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == std::string("hidden ") + name; },
                              2000))
            << name;
    }
}

TEST(Events, WithTheKeyOffABoxBehindWaitsForTheFullPass) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nWindowEvents=0\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    // The first box is closed by some full pass; the second opens right after that pass, so
    // it waits for most of the next one's 3 s.
    const int first = BoxBehindWaits(folder, "first full pass e2e");
    EXPECT_GE(first, 0);
    EXPECT_LE(first, 3500);
    const int second = BoxBehindWaits(folder, "second full pass e2e");
    EXPECT_GE(second, 1500) << "closed before the full pass";
    EXPECT_LE(second, 3500);
    // The foreground is still watched on every tick.
    Process box = Process::Start(ToolPath("show_message_box"), {"front e2e", "in front"});
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
}

TEST(Events, ADialogWhoseTextComesLaterIsLoggedWithItsFinalText) {
    Vantor vantor(FreshFolder(), Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    // Shown with an empty label; the text arrives 200 ms later.
    Process dialog =
        Process::Start(ToolPath("app_dialog"), {"late", "late e2e", "Final text e2e", "200"});
    ASSERT_TRUE(dialog.Started());
    EXPECT_EQ(dialog.WaitExit(6000), std::optional<DWORD>(1)) << "OK was not pressed";
    ASSERT_TRUE(WaitUntil([&] { return vantor.Text() == "Final text e2e"; }, 2000))
        << Escaped(vantor.Text());
    // Logged once, with that text: one entry before the first-message note.
    vantor.CommandAndWait(kCmdLastMessage);
    EXPECT_EQ(vantor.Caption(), "late e2e");
    EXPECT_EQ(vantor.Text(), "Final text e2e");
    vantor.CommandAndWait(kCmdPrevious);
    EXPECT_EQ(vantor.Text(), "It was first message.");
}

TEST(Events, ProgramsThatStopAnsweringHoldUpNoOtherBox) {
    const std::string folder = FreshFolder();
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    Process hung[2];
    for (int i = 0; i < 2; ++i) {
        const std::string caption = "hung " + std::to_string(i) + " e2e";
        hung[i] = Process::Start(ToolPath("app_dialog"), {"hung", caption, "Not answering."});
        ASSERT_TRUE(hung[i].Started());
        ASSERT_NE(WaitForTopLevelWindow({"#32770", caption, hung[i].Id()}, 5000), nullptr);
    }
    // Boxes for longer than a full pass, which meets the two hung dialogs on its way.
    for (int i = 0; i < 12; ++i) {
        const std::string report = folder + "box" + std::to_string(i) + ".txt";
        Process box = Process::Start(ToolPath("show_message_box"),
                                     {"box " + std::to_string(i), "next to hung ones", "0x40", report});
        ASSERT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK)) << i;
        const int waited = WaitedMs(report);
        EXPECT_GE(waited, 0) << i;
        EXPECT_LE(waited, 300) << "box " << i << " was held up";
    }
    for (Process& p : hung) p.Kill();
}

}  // namespace
}  // namespace vantor::e2e
