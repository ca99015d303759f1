// e2e-timeout: 180
// The folder watch and the list service under Wine, with files saved by another program:
// checks run on this (GUI) thread, never for sub-folders, never piled up while the GUI
// thread is busy, and end at once with Stop; the notices of the list reload for saved lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "forms/folder_watch_win32.h"
#include "forms/ui_task_win32.h"
#include "lists/list_service.h"
#include "lists/pattern.h"

namespace vantor::e2e {
namespace {

UiTaskQueue& Tasks() {
    static UiTaskQueue tasks;
    static const bool created = tasks.Create(GetModuleHandleA(nullptr));
    EXPECT_TRUE(created);
    return tasks;
}


// Another program saves the files (name, text pairs within folder); this thread waits until
// it is done, busy (no check can run meanwhile) or, with pumpMeanwhile, running the checks.
void Save(const std::string& folder, const std::vector<std::string>& namesAndTexts,
          DWORD holdMs = 0, bool pumpMeanwhile = false) {
    std::vector<std::string> args;
    if (holdMs) args = {"--hold", std::to_string(holdMs)};
    for (std::size_t i = 0; i < namesAndTexts.size(); ++i)
        args.push_back(i % 2 ? namesAndTexts[i] : JoinPath(folder, namesAndTexts[i]));
    Process saver = Process::Start(ToolPath("save_files"), args);
    ASSERT_TRUE(saver.Started()) << saver.Error();
    if (pumpMeanwhile) PumpUntil([&] { return !saver.Running(); }, 10000);
    ASSERT_EQ(saver.WaitExit(10000), std::optional<DWORD>(0));
}

TEST(FolderWatch, ChecksRunHereForTheFolderOnlyAndDoNotPileUp) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(CreateDirectoryA(JoinPath(folder, "Language").c_str(), nullptr));
    int checks = 0;
    bool elsewhere = false;
    const DWORD here = GetCurrentThreadId();
    FolderWatch watch;
    ASSERT_TRUE(watch.Start(folder, Tasks(), [&] {
        ++checks;
        elsewhere = elsewhere || GetCurrentThreadId() != here;
        return false;
    }));
    Save(folder, {"Language\\Rus.lng", "x"});
    Pump(700);
    EXPECT_EQ(checks, 0) << "a sub-folder is not watched";

    Save(folder, {"White.ini", "x"});
    EXPECT_TRUE(PumpUntil([&] { return checks > 0; }, 3000));
    EXPECT_FALSE(elsewhere);
    Pump(300);

    // Three saves, each by a program of its own, while this thread is busy: the worker hands
    // over one check and waits for it, so no more than that one and the change it has kept
    // meanwhile run afterwards.
    checks = 0;
    for (const char* name : {"Black.ini", "Main.ini", "Replace.ini"}) {
        Save(folder, {name, "x"});
        Sleep(100);
    }
    Pump(1000);
    EXPECT_GE(checks, 1);
    EXPECT_LE(checks, 2);
}

TEST(FolderWatch, StopEndsTheWorkerWhileItWaitsForThisThread) {
    const std::string folder = FreshFolder();
    int checks = 0;
    FolderWatch watch;
    ASSERT_TRUE(watch.Start(folder, Tasks(), [&] { return ++checks, false; }));
    Save(folder, {"White.ini", "x"});
    Sleep(300);  // the check is handed over; the worker waits for it
    const DWORD start = GetTickCount();
    watch.Stop();
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_FALSE(watch.Running());
    Pump(300);
    EXPECT_EQ(checks, 0) << "a check handed over before Stop must not run after it";
    watch.Stop();

    FolderWatch none;
    EXPECT_FALSE(none.Start(JoinPath(folder, "no such folder\\"), Tasks(), [] { return false; }));
    EXPECT_FALSE(none.Running());
}

// The reload as the program wires it: the service's check behind the watch. An editor that
// still holds the file when the check comes makes the watch ask again until it can be read.
TEST(ListWatch, SavedListsAreReloadedAndReportedOnce) {
    const std::string folder = FreshFolder();
    ProgramLists lists;
    ListService service(folder, lists, SystemFileTimes());
    service.PrepareRuleLists();
    service.PrepareClassLists();
    auto whiteHas = [&](const char* text) {
        return ListContainsText(*lists.Snapshot(ListKind::White), text);
    };
    std::vector<std::string> notices;
    int checks = 0, retries = 0;
    bool guardWhite = false, lostTheWhiteList = false;
    FolderWatch watch;
    ASSERT_TRUE(watch.Start(folder, Tasks(), [&] {
        ++checks;
        const ReloadReport report = service.ReloadChangedLists();
        if (!report.notice.empty()) notices.push_back(report.notice);
        retries += report.retry;
        lostTheWhiteList = lostTheWhiteList || (guardWhite && !whiteHas("watched entry"));
        return report.retry;
    }));

    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> notices;
        bool retried = false;  // a check found a changed file still held by its writer
    };
    const std::vector<Step> steps = {
        {"white saved",
         [&] {
             Save(folder, {"White.ini", "watched entry"});
         },
         {"Reloaded white list."}},
        {"black and replace saved together",
         [&] {
             Save(folder, {"Black.ini", "b", "Replace.ini", "a\tb"});
         },
         {"Reloaded black list.\r\nReloaded replace list."}},
        {"added from the message window",
         [&] {
             EXPECT_EQ(service.AddToList(ListKind::White, "added word"),
                       ListService::AddResult::kAdded);
         },
         {}},
        {"saved by an editor slow to let go of it",
         [&] {
             Save(folder, {"White.ini", "watched entry|held entry"}, 700, true);
         },
         {"Reloaded white list."},
         true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        notices.clear();
        checks = retries = 0;
        guardWhite = whiteHas("watched entry");
        step.act();
        PumpUntil([&] { return notices.size() >= step.notices.size() && checks > 0; }, 5000);
        Pump(400);  // nothing more may follow
        EXPECT_EQ(notices, step.notices);
        EXPECT_GT(checks, 0);
        EXPECT_EQ(retries > 0, step.retried);
        EXPECT_FALSE(lostTheWhiteList);
    }
    EXPECT_TRUE(whiteHas("held entry"));
    EXPECT_FALSE(whiteHas("added word")) << "the file as saved last holds no added word";
    EXPECT_EQ(*lists.Snapshot(ListKind::Replace), ListEntries{"a|b"});
    EXPECT_EQ(ReadFileBytes(JoinPath(folder, "White.ini")),
              std::optional<std::string>("watched entry\r\nheld entry"));

    // A save's way to the check's notice, measured here for the record.
    std::vector<DWORD> delays;
    for (int i = 0; i < 5; ++i) {
        notices.clear();
        const DWORD start = GetTickCount();
        Save(folder, {"Black.ini", "round " + std::to_string(i)});
        PumpUntil([&] { return !notices.empty(); }, 3000);
        delays.push_back(GetTickCount() - start);
    }
    std::sort(delays.begin(), delays.end());
    std::printf("save to notice (ms, saver start included): median %lu, max %lu\n",
                static_cast<unsigned long>(delays[2]), static_cast<unsigned long>(delays[4]));
}

}  // namespace
}  // namespace vantor::e2e
