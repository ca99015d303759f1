// e2e-timeout: 240
// A script steers the running Vantor with one word: disable, status, enable and exit with
// their exit codes and effects, and each word when no Vantor runs (none is started).
#include <gtest/gtest.h>

#include <string>

#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

// Runs "vantor.exe WORD" as a script's line does; its exit code (nullopt: it did not end).
std::optional<DWORD> Word(const std::string& exe, const std::string& word,
                          const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {word};
    args.insert(args.end(), more.begin(), more.end());
    Process p = Process::Start(exe, args);
    return p.Started() ? p.WaitExit(20000) : std::nullopt;
}

TEST(Steering, WordsForTheRunningVantorAndForNone) {
    const std::string folder = FreshFolder();
    Vantor vantor(folder, Vantor::kSystemBoxes);
    const std::string exe = vantor.Exe();
    for (const char* word : {"status", "disable", "enable", "exit"}) {
        const DWORD start = GetTickCount();
        EXPECT_EQ(Word(exe, word), std::optional<DWORD>(1)) << word << " with none running";
        EXPECT_LT(GetTickCount() - start, 3000u) << word << " waited for nobody";
    }
    EXPECT_EQ(FileNamesIn(folder).size(), 1u) << "a word started an instance";

    ASSERT_TRUE(vantor.Start());
    EXPECT_EQ(Word(exe, "status"), std::optional<DWORD>(0));
    EXPECT_EQ(Word(exe, "disable"), std::optional<DWORD>(0));
    EXPECT_EQ(Word(exe, "/STATUS"), std::optional<DWORD>(3));
    Process box = ShowBox("steered e2e", "stays while disabled");
    EXPECT_FALSE(box.WaitExit(2500).has_value()) << "closed while disabled";
    EXPECT_EQ(Word(exe, "enable"), std::optional<DWORD>(0));
    EXPECT_EQ(box.WaitExit(4000), std::optional<DWORD>(IDOK));
    EXPECT_EQ(Word(exe, "status"), std::optional<DWORD>(0));
    // A word with another word is no steering word: a plain second start.
    EXPECT_EQ(Word(exe, "status", {"istimer"}), std::optional<DWORD>(0));

    EXPECT_EQ(Word(exe, "exit"), std::optional<DWORD>(0));
    EXPECT_FALSE(vantor.Proc().Running()) << "exit answered before Vantor ended";
    EXPECT_EQ(ReadIntKey(folder + "Vantor.ini", "Width"), 230) << "its keys were not written";
    EXPECT_EQ(Word(exe, "status"), std::optional<DWORD>(1));
}

}  // namespace
}  // namespace vantor::e2e
