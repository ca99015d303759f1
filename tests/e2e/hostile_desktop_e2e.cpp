// A badly behaved desktop against the real program: another window's handle in a caption of
// the window a rule matches, a dialog that asks for a choice, a crowd of children with long
// texts, children that answer after 900 ms, a text whose length lies and changes, a window
// that vanishes while it is read, and junk messages to every window of the program. Vantor
// acts only inside the matched window, answers no question, closes a plain box meanwhile
// within 1.5 s, keeps its resident memory and stays alive and answering.
#include <windows.h>
// (first: psapi.h below needs its types)
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "e2e_support.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

Process Hostile(const std::vector<std::string>& args) {
    return Process::Start(ToolPath("hostile_windows"), args);
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Every window of a process: top-level ones (hidden too), message-only ones and all their
// descendants; `messageOnly` counts the message-only ones.
std::vector<HWND> WindowsOf(DWORD processId, int* messageOnly = nullptr) {
    std::vector<HWND> all, own;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    const std::size_t topLevel = all.size();
    for (HWND w = nullptr; (w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;)
        all.push_back(w);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const HWND w = all[i];
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != processId) continue;
        if (messageOnly && i >= topLevel) ++*messageOnly;
        own.push_back(w);
        EnumChildWindows(w, Collect, reinterpret_cast<LPARAM>(&own));
    }
    return own;
}

// Still running (false when not), and every window of it answers within 2 s.
bool ExpectAnswering(Vantor& vantor, const char* when) {
    if (const auto code = vantor.Proc().WaitExit(0)) {
        ADD_FAILURE() << "vantor.exe ended " << when << ", exit code 0x" << std::hex << *code;
        return false;
    }
    for (HWND w : WindowsOf(vantor.Proc().Id())) {
        DWORD_PTR ignored = 0;
        EXPECT_NE(SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored), 0)
            << "window " << w << " (" << ClassNameOf(w) << ") does not answer " << when;
    }
    return true;
}

std::size_t Resident(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

// The most a process holds resident (its working set) while this lives, sampled every 10 ms.
class ResidentPeak {
  public:
    explicit ResidentPeak(HANDLE process)
        : sampler_([this, process] {
              for (; !stop_; Sleep(10)) peak_ = std::max<std::size_t>(peak_, Resident(process));
          }) {}
    ~ResidentPeak() {
        stop_ = true;
        sampler_.join();
    }
    std::size_t Peak() const { return peak_; }

  private:
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> peak_{0};
    std::thread sampler_;
};

TEST(HostileDesktop, ActsOnlyInsideTheMatchedWindowAndAnswersNoQuestion) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Main.ini", "VantorE2EHostile=hostile continue||Button=Continue\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());

    // Another program's button; its handle, in decimal as a child listing writes handles, ends
    // the caption of the button the rule names.
    Process bystander = Process::Start(ToolPath("app_rule_window"), {"hostile bystander"});
    HWND other = WaitForTopLevelWindow({"VantorE2ERules", std::nullopt, bystander.Id()}, 10000);
    HWND otherButton = FindChild(other, "Button", std::string("Press me"));
    ASSERT_NE(otherButton, nullptr);
    const auto handle = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(otherButton));
    Process hostile = Hostile({"continue", std::to_string(handle)});
    EXPECT_EQ(hostile.WaitExit(3000), std::optional<DWORD>(7))
        << "the button the rule names in the matched window was not pressed";
    EXPECT_EQ(bystander.WaitExit(500), std::nullopt)
        << "a button of another program was pressed (exit code 5)";
    hostile.Kill();

    // A label, a drop-down list and one OK: a question for the user, left open.
    Process choice = Process::Start(ToolPath("app_dialog"),
                                    {"choice", "hostile printer", "Choose the printer to use:"});
    HWND dialog =
        WaitForTopLevelWindow({"#32770", std::string("hostile printer"), choice.Id()}, 5000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(choice.WaitExit(2000), std::nullopt) << "a dialog with a drop-down list was answered";
    EXPECT_NE(vantor.Caption(), "hostile printer");
    // Meanwhile a plain box is closed as ever.
    EXPECT_EQ(ShowBox("hostile plain", "a plain message").WaitExit(3000),
              std::optional<DWORD>(IDOK));
    ExpectAnswering(vantor, "after the foreign handle and the question");
}

TEST(HostileDesktop, CrowdedSlowAndVanishingWindowsStallNoTickAndGrowNoMemory) {
    const std::string folder = FreshFolder();
    // Matches both hostile windows and walks their children on every tick; presses nothing.
    WriteFileBytes(folder + "Main.ini", "VantorE2EHostile=hostile||Button=Nothing to press\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    // The message window's first show loads the common controls: measure from after it.
    ASSERT_EQ(ShowBox("hostile warm-up", "first message").WaitExit(3000),
              std::optional<DWORD>(IDOK));
    Sleep(500);
    const std::size_t start = Resident(vantor.Proc().Handle());
    ASSERT_GT(start, 0u) << "no memory figure for vantor.exe";
    ResidentPeak peak(vantor.Proc().Handle());

    // Each time its children are read the window is destroyed, then opened again.
    Process vanish = Hostile({"vanish", "3"});
    EXPECT_EQ(vanish.WaitExit(10000), std::optional<DWORD>(0)) << "not read to its vanishing";

    HANDLE slowRead = CreateEventA(nullptr, FALSE, FALSE, "VantorE2EHostileSlowRead");
    Process desktop = Hostile({"desktop"});
    ASSERT_NE(WaitForTopLevelWindow(
                  {"VantorE2EHostile", std::string("hostile desktop"), desktop.Id()}, 20000),
              nullptr);
    // The first box opens as a read of the window's children begins (when one begins).
    ResetEvent(slowRead);
    WaitForSingleObject(slowRead, 8000);
    for (int i = 0; i < 3; ++i) {
        const std::string report = folder + "box" + std::to_string(i) + ".txt";
        Process box =
            Process::Start(ToolPath("show_message_box"),
                           {"hostile box " + std::to_string(i), "shown meanwhile", "0x40", report});
        EXPECT_EQ(box.WaitExit(15000), std::optional<DWORD>(IDOK)) << "box " << i;
        const int waited = WaitedMs(report);
        EXPECT_GE(waited, 0) << "box " << i;
        EXPECT_LE(waited, 1500) << "box " << i << " waited for a stalled tick";
    }
    desktop.Kill();
    CloseHandle(slowRead);
    ExpectAnswering(vantor, "after the crowded, slow and vanishing windows");
    const std::size_t grown = peak.Peak() > start ? peak.Peak() - start : 0;
    EXPECT_LE(grown, 8u << 20) << "resident memory grew from " << (start >> 10) << " KiB by "
                               << (grown >> 10) << " KiB";
}

TEST(HostileDesktop, JunkMessagesToEveryWindowOfTheProgramLeaveItAnswering) {
    Vantor vantor(FreshFolder(), Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    int messageOnly = 0;
    const std::vector<HWND> windows = WindowsOf(vantor.Proc().Id(), &messageOnly);
    ASSERT_GE(messageOnly, 1) << "no message-only window among " << windows.size();
    // The first 1,024 messages of the application range, where programs keep their own, with
    // nonsense parameters: not a pointer, a pointer to nothing, a readable page of the system's.
    const std::pair<WPARAM, LPARAM> junk[] = {
        {0x7FFFFFFF, 0xDEADBEEF}, {~WPARAM(0), 1}, {0, 0x7FFE0000}};
    for (UINT message = WM_APP; message < WM_APP + 0x400; ++message) {
        for (std::size_t i = 0; i < windows.size(); ++i) {
            const auto& [wParam, lParam] = junk[(message + i) % 3];
            PostMessageA(windows[i], message, wParam, lParam);
        }
    }
    // The box's message is shown through the program's own task queue, behind all the junk.
    const auto answer = ShowBox("hostile after junk", "still closing boxes").WaitExit(5000);
    if (!ExpectAnswering(vantor, "after junk messages to its windows")) return;
    EXPECT_EQ(answer, std::optional<DWORD>(IDOK));
    EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == "still closing boxes"; }, 10000))
        << Escaped(vantor.Text());
}

}  // namespace
}  // namespace vantor::e2e
