// The list service against real files whose times the test sets: start-up loading, the check
// after a change in the folder, the second start's reload and additions from the message
// window.
#include "lists/list_service.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "base/file_io.h"

namespace vantor {
namespace {

using Lines = std::vector<std::string>;
constexpr FileTime kMs = 10000;  // FILETIME ticks in a millisecond
constexpr FileTime kStart = 1000 * kMs;

Lines Cat(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Existing files have the time the test gave them; without one, a time that moves on with
// every byte written, as the program's own writes move it. Missing files have 0.
class TestFileTimes : public FileTimes {
  public:
    FileTime LastWriteTime(const std::string& path) override {
        if (!PathExists(path)) return 0;
        const auto it = times.find(path);
        if (it != times.end()) return it->second;
        std::error_code ec;
        const auto size =
            std::filesystem::is_regular_file(path, ec) ? std::filesystem::file_size(path, ec) : 0;
        return kStart + size * kMs;
    }
    std::map<std::string, FileTime> times;
};

class ListServiceTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        service_ = std::make_unique<ListService>(folder_, lists_, times_);
    }

    std::string PathOf(const std::string& name) const { return folder_ + name; }
    // An editor saves the file: new bytes, new time.
    void Save(const std::string& name, const std::string& bytes, FileTime time) {
        std::filesystem::remove_all(PathOf(name));
        ASSERT_TRUE(WriteWholeFile(PathOf(name), bytes));
        times_.times[PathOf(name)] = time;
    }
    // A file that exists but cannot be read, as one held by its writer (a folder stands in).
    void Lock(const std::string& name, FileTime time) {
        std::filesystem::remove_all(PathOf(name));
        std::filesystem::create_directory(PathOf(name));
        times_.times[PathOf(name)] = time;
    }
    Lines List(ListKind kind) const { return *lists_.Snapshot(kind); }

    ProgramLists lists_;
    TestFileTimes times_;
    std::unique_ptr<ListService> service_;
};

// One check after each step, in order, on one folder.
TEST_F(ListServiceTest, ChecksReloadWhatChangedAndReportItInOrder) {
    struct Step {
        const char* name;
        std::function<void()> act;
        std::string notice;
        bool retry;
        ListKind list;
        Lines entries;  // of `list` after the check
    };
    const Lines whiteDefaults = {"close Internet Explorer before you continue",
                                 "Click OK when program terminates",
                                 "*\xCD\xE0\xE6\xEC\xE8\xF2\xE5 ?OK? \xEF\xEE "
                                 "\xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xE8 "
                                 "\xF0\xE0\xE1\xEE\xF2\xFB \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB*"};
    const Lines mineThenDefaults = Cat({"mine"}, whiteDefaults);
    const Lines blackDefaults = {
        "No files selected",
        "\xCD\xE5\xF2 \xE2\xFB\xE1\xF0\xE0\xED\xED\xFB\xF5 \xF4\xE0\xE9\xEB\xEE\xE2"};
    const std::string all =
        "Reloaded black list.\r\nReloaded white list.\r\nReloaded main list.\r\n"
        "Reloaded replace list.";
    const std::vector<Step> steps = {
        {"nothing written since start-up", [] {}, "", false, ListKind::White, whiteDefaults},
        {"white saved", [&] { Save("White.ini", "mine", 2000 * kMs); }, "Reloaded white list.",
         false, ListKind::White, mineThenDefaults},
        {"all four saved",
         [&] {
             for (const char* name : {"Main.ini", "Replace.ini", "White.ini", "Black.ini"})
                 Save(name, "mine", 3000 * kMs);
         },
         all, false, ListKind::Black, Cat({"mine"}, blackDefaults)},
        {"same millisecond is the same time",
         [&] { Save("White.ini", "other", 3000 * kMs + kMs - 1); }, "", false, ListKind::White,
         mineThenDefaults},
        {"same bytes, next millisecond", [&] { Save("White.ini", "mine", 3001 * kMs); },
         "Reloaded white list.", false, ListKind::White, mineThenDefaults},
        {"an older time is a change too", [&] { Save("White.ini", "old", 10 * kMs); },
         "Reloaded white list.", false, ListKind::White, Cat({"old"}, whiteDefaults)},
        {"class lists and settings are not reloaded",
         [&] {
             Save("Edit.ini", "MyEdit", 4000 * kMs);
             Save("Vantor.ini", "[Main]", 4000 * kMs);
         },
         "", false, ListKind::Edit, Lines{}},
        {"deleted: built-in entries", [&] { std::filesystem::remove(PathOf("Black.ini")); },
         "Reloaded black list.", false, ListKind::Black, blackDefaults},
        {"deleted, checked again", [] {}, "", false, ListKind::Black, blackDefaults},
        {"held by its writer: the list stays", [&] { Lock("White.ini", 5000 * kMs); }, "", true,
         ListKind::White, Cat({"old"}, whiteDefaults)},
        {"written and released", [&] { Save("White.ini", "new", 5000 * kMs); },
         "Reloaded white list.", false, ListKind::White, Cat({"new"}, whiteDefaults)},
        {"lines that look blank never act; rules for any window are named",
         [&] {
             Save("Main.ini", "\t\r\n\t; note\r\n|\r\n=\r\n  ;x\r\nDlg\r\n**|Edit=a|Close",
                  6000 * kMs);
         },
         "Reloaded main list.\r\nMain.ini line 3: no window class or caption\r\n"
         "Main.ini line 4: no window class or caption\r\n"
         "Main.ini line 7: no window class or caption",
         false,
         ListKind::Main,
         {"Dlg", "TDRIVEDLG"}},
        {"a list file too large is read up to its last whole line within 16 MiB",
         [&] {
             std::string big;
             for (int i = 0; i < 17; ++i) big += std::string((1u << 20) - 2, 'x') + "\r\n";
             Save("Black.ini", big, 7000 * kMs);
         },
         "Reloaded black list.\r\nBlack.ini: larger than 16 MiB, only the lines before that "
         "were read",
         false, ListKind::Black, Cat(Lines(16, std::string((1u << 20) - 2, 'x')), blackDefaults)},
    };
    service_->PrepareRuleLists();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        const ReloadReport report = service_->ReloadChangedLists();
        EXPECT_EQ(report.notice, step.notice);
        EXPECT_EQ(report.retry, step.retry);
        EXPECT_EQ(List(step.list), step.entries);
    }
}

TEST_F(ListServiceTest, AddingWritesALineAndHidesOnlyTheProgramsOwnWrite) {
    using Result = ListService::AddResult;
    const std::string lastDefault =
        "*\xCD\xE0\xE6\xEC\xE8\xF2\xE5 ?OK? \xEF\xEE "
        "\xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xE8 "
        "\xF0\xE0\xE1\xEE\xF2\xFB \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB*";
    struct Case {
        const char* name;
        std::function<void()> before;  // after start-up, before the add
        std::string text;
        Result result;
        Lines memoryTail;    // the list's last entries right after the add
        std::string notice;  // of the next check
    };
    // A full disk: the file may grow by 3 bytes only, so the write stops part way.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    const std::vector<Case> cases = {
        {"one word", [] {}, "word", Result::kAdded, {"word"}, ""},
        {"a selection of lines is one line",
         [] {},
         "Line one\r\nLine two\nthree\rfour",
         Result::kAdded,
         {"Line one Line two three four"},
         ""},
        {"not normalised in memory",
         [] {},
         "*Save changes*",
         Result::kAdded,
         {"*Save changes*"},
         ""},
        {"blank is refused", [] {}, " \r\n\t", Result::kRefused, {lastDefault}, ""},
        {"only wildcards are refused", [] {}, "*?\r\n*", Result::kRefused, {lastDefault}, ""},
        {"deleted file is created",
         [&] { std::filesystem::remove(PathOf("White.ini")); },
         "w",
         Result::kAdded,
         {"w"},
         "Reloaded white list."},
        {"an unseen edit of the user's is still reported",
         [&] { Save("White.ini", "user", 9000 * kMs); },
         "w",
         Result::kAdded,
         {"w"},
         "Reloaded white list."},
        {"unreadable file is not touched, nor is the list",
         [&] { Lock("White.ini", kStart); },
         "w",
         Result::kFailed,
         {lastDefault},
         ""},
        {"a write that stops part way is cut back off",
         [&] {
             rlimit small = unlimited;
             small.rlim_cur = std::filesystem::file_size(PathOf("White.ini")) + 3;
             ::setrlimit(RLIMIT_FSIZE, &small);
         },
         "a longer entry",
         Result::kFailed,
         {lastDefault},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(PathOf("White.ini"));
        times_.times.clear();
        service_->PrepareRuleLists();
        c.before();
        const std::optional<std::string> before = ReadWholeFile(PathOf("White.ini"));
        EXPECT_EQ(service_->AddToList(ListKind::White, c.text), c.result);
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        const Lines list = List(ListKind::White);
        ASSERT_GE(list.size(), c.memoryTail.size());
        EXPECT_EQ(Lines(list.end() - c.memoryTail.size(), list.end()), c.memoryTail);
        const std::string bytes = ReadWholeFile(PathOf("White.ini")).value_or("");
        if (c.result == Result::kAdded) {
            const std::string line = c.memoryTail.back() + "\r\n";
            EXPECT_EQ(bytes.substr(bytes.size() - line.size()), line);
        } else {
            EXPECT_EQ(ReadWholeFile(PathOf("White.ini")), before);
        }
        EXPECT_EQ(service_->ReloadChangedLists().notice, c.notice);
    }
    EXPECT_EQ(service_->AddToList(ListKind::Edit, "x"), Result::kFailed)
        << "class lists are not added to";
}

TEST_F(ListServiceTest, SecondStartReloadsEveryListAndTheSystemTimesSeeWrites) {
    ListService real(folder_, lists_, SystemFileTimes());
    real.PrepareRuleLists();
    EXPECT_EQ(real.ReloadChangedLists().notice, "");
    // A write with a time a second later; then the same time set back on other bytes.
    ASSERT_TRUE(WriteWholeFile(PathOf("Main.ini"), "A\r\nB"));
    const auto later =
        std::filesystem::last_write_time(PathOf("Black.ini")) + std::chrono::seconds(1);
    std::filesystem::last_write_time(PathOf("Main.ini"), later);
    EXPECT_EQ(real.ReloadChangedLists().notice, "Reloaded main list.");
    EXPECT_EQ(List(ListKind::Main), (Lines{"A", "B", "TDRIVEDLG"}));
    ASSERT_TRUE(WriteWholeFile(PathOf("Main.ini"), "C"));
    std::filesystem::last_write_time(PathOf("Main.ini"), later);
    EXPECT_EQ(real.ReloadChangedLists().notice, "");

    // The second start reads all four whatever their times say, and stores them.
    real.ReloadRuleLists();
    EXPECT_EQ(List(ListKind::Main), (Lines{"C", "TDRIVEDLG"}));
    EXPECT_EQ(real.ReloadChangedLists().notice, "");
}

}  // namespace
}  // namespace vantor
