// e2e-timeout: 240
// History.txt beside the program: the block of each closed message with its program's file
// name and the local time, kept across runs; its renaming to History.old.txt past HistoryKB;
// and a History.txt that cannot be written, which stops no close and is told once.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "ui/history.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

// "2026-12-08 " as the local date is now.
std::string Today() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    char text[16];
    snprintf(text, sizeof text, "%04d-%02d-%02d ", t.wYear, t.wMonth, t.wDay);
    return text;
}

// Shows a box and waits until it is answered; its exit code (IDOK when Vantor closed it).
std::optional<DWORD> BoxAnswer(const std::string& caption, const std::string& text) {
    Process box = ShowBox(caption, text);
    return box.WaitExit(6000);
}

std::string History(const std::string& folder, const char* name = kHistoryFileName) {
    return ReadFileBytes(folder + name).value_or("<none>");
}

TEST(History, ClosedMessagesAreRecordedAcrossRuns) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Black.ini", "quiet history\r\n");
    {
        Vantor vantor(folder, Vantor::kSystemBoxes);
        ASSERT_TRUE(vantor.Start());
        EXPECT_EQ(BoxAnswer("history e2e", "first line\\r\\n\\r\\nafter a gap"), IDOK);
        EXPECT_EQ(BoxAnswer("quiet e2e", "quiet history"), IDOK);
        ASSERT_TRUE(WaitUntil([&] { return History(folder).find("quiet e2e") != std::string::npos; },
                              3000))
            << Escaped(History(folder));
        EXPECT_TRUE(vantor.Exit());
    }
    Vantor again(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(again.Start());
    EXPECT_EQ(BoxAnswer("next run e2e", "still here"), IDOK);
    ASSERT_TRUE(
        WaitUntil([&] { return History(folder).find("next run e2e") != std::string::npos; }, 3000));
    const std::string t = "\\d\\d:\\d\\d:\\d\\d\tshow_message_box\\.exe\t";
    const std::regex blocks(Today() + t + "closed\thistory e2e\r\n\tfirst line\r\n\t\r\n"
                            "\tafter a gap\r\n\r\n" +
                            Today() + t + "closed, not shown\tquiet e2e\r\n\tquiet history\r\n\r\n" +
                            Today() + t + "closed\tnext run e2e\r\n\tstill here\r\n\r\n");
    EXPECT_TRUE(std::regex_match(History(folder), blocks)) << Escaped(History(folder));
}

TEST(History, PastHistoryKBTheFileBecomesHistoryOld) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nLanguage=Rus\r\nHistoryKB=1\r\n");
    const std::string earlier(1000, 'h');
    WriteFileBytes(folder + kHistoryFileName, earlier);
    WriteFileBytes(folder + kHistoryOldFileName, "older still");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    EXPECT_EQ(BoxAnswer("rotation e2e", "past the limit"), IDOK);
    ASSERT_TRUE(WaitUntil([&] { return History(folder, kHistoryOldFileName) == earlier; }, 3000))
        << Escaped(History(folder, kHistoryOldFileName));
    EXPECT_TRUE(WaitUntil([&] { return History(folder).find("rotation e2e") != std::string::npos; },
                          3000));
    EXPECT_EQ(History(folder).rfind(Today(), 0), 0u) << "not begun anew";
    EXPECT_LT(History(folder).size(), 200u);
}

TEST(History, AReadOnlyHistoryStopsNoCloseAndIsToldOnce) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + kHistoryFileName, "kept\r\n");
    ASSERT_TRUE(SetFileAttributesA((folder + kHistoryFileName).c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine lets root write a read-only file: a reader that shares no writing makes sure.
    HANDLE reader = CreateFileA((folder + kHistoryFileName).c_str(), GENERIC_READ,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());
    EXPECT_EQ(BoxAnswer("read-only e2e", "closed anyway"), IDOK);
    EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == kHistoryFailedText; }, 3000))
        << Escaped(vantor.Text());
    EXPECT_EQ(BoxAnswer("read-only again e2e", "closed again"), IDOK);
    EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == "closed again"; }, 3000));
    Sleep(1000);
    EXPECT_EQ(vantor.Text(), "closed again") << "the failure was told twice";
    CloseHandle(reader);
    EXPECT_EQ(History(folder), "kept\r\n");
    SetFileAttributesA((folder + kHistoryFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace vantor::e2e
