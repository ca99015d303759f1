#include "shell/program_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "lists/list_service.h"
#include "lists/pattern.h"
#include "settings/settings.h"

namespace vantor {
namespace {

TEST(ProgramFolder, FolderOfExecutablePath) {
    struct Case {
        std::string path;
        std::string folder;
    };
    const std::vector<Case> cases = {
        {"C:\\Program Files\\Vantor\\vantor.exe", "C:\\Program Files\\Vantor\\"},
        {"C:\\vantor.exe", "C:\\"},
        {"\\\\server\\share\\v\\vantor.exe", "\\\\server\\share\\v\\"},
        {"D:\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\\v.exe",
         "D:\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\\"},
        {"/opt/vantor/vantor", "/opt/vantor/"},
        {"vantor.exe", ""},
        {"", ""},
        {"C:\\folder\\", "C:\\folder\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgramFolderOf(c.path), c.folder) << c.path;
}

class ProgramFolderFiles : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("vantor_program_folder_" + std::string(info->name()) + "_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        folder_ = dir_.string() + "/";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Read(const std::string& name) {
        return ReadWholeFile(folder_ + name).value_or("<missing>");
    }

    std::filesystem::path dir_;
    std::string folder_;
};

// The start-up's file steps in their order: the settings file, the rule lists, the class lists.
void PrepareProgramFolder(const std::string& folder, ProgramLists& lists) {
    PrepareSettingsFile(folder);
    ListService service(folder, lists, SystemFileTimes());
    service.PrepareRuleLists();
    service.PrepareClassLists();
}

const char* const kAllFiles[] = {"Vantor.ini",  "Main.ini",   "Black.ini",  "White.ini",
                                 "Replace.ini", "Button.ini", "Static.ini", "Edit.ini"};

TEST_F(ProgramFolderFiles, EmptyFolderGetsEveryFileAndListsHoldTheDefaults) {
    ProgramLists lists;
    PrepareProgramFolder(folder_, lists);
    for (const char* name : kAllFiles) EXPECT_TRUE(FileExists(folder_ + name)) << name;
    EXPECT_EQ(Read("Vantor.ini"), "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5");
    for (ListKind kind : kAllListKinds)
        EXPECT_EQ(Read(ListFileName(kind)), DefaultListContent(kind)) << ListFileName(kind);

    // The default Main.ini names TDRIVEDLG twice: two equal entries.
    const auto main = lists.Snapshot(ListKind::Main);
    EXPECT_EQ(std::count(main->begin(), main->end(), "TDRIVEDLG"), 2);
    const auto black = lists.Snapshot(ListKind::Black);
    EXPECT_NE(std::find(black->begin(), black->end(), "No files selected"), black->end());
    const auto buttons = lists.Snapshot(ListKind::Button);
    EXPECT_NE(std::find(buttons->begin(), buttons->end(), "[BUTTON]"), buttons->end());
    EXPECT_TRUE(std::is_sorted(buttons->begin(), buttons->end()));
    EXPECT_TRUE(ClassListContains(*lists.Snapshot(ListKind::Static), "TStatic"));
    EXPECT_TRUE(lists.Snapshot(ListKind::Replace)->empty());
    EXPECT_TRUE(
        ListContainsText(*lists.Snapshot(ListKind::White),
                         "\xCD\xE0\xE6\xEC\xE8\xF2\xE5 \"OK\" \xEF\xEE "
                         "\xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xE8 \xF0\xE0\xE1\xEE\xF2\xFB "
                         "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB"));
}

TEST_F(ProgramFolderFiles, ExistingUserFilesStayByteForByteAndAreLoaded) {
    // User-edited files: odd bytes, no defaults, LF-only lines, an empty file.
    const std::string settings =
        std::string("[Main]\nLanguage=\r\nMessageTime=9\r\n\xFF") + '\0' + "tail";
    const std::string black = ";No files selected\r\nmy text\r\n";
    const std::string button = "MyButtonClass";
    ASSERT_TRUE(WriteWholeFile(folder_ + "Vantor.ini", settings));
    ASSERT_TRUE(WriteWholeFile(folder_ + "Black.ini", black));
    ASSERT_TRUE(WriteWholeFile(folder_ + "Button.ini", button));
    ASSERT_TRUE(WriteWholeFile(folder_ + "White.ini", ""));

    ProgramLists lists;
    PrepareProgramFolder(folder_, lists);
    EXPECT_EQ(Read("Vantor.ini"), settings);
    EXPECT_EQ(Read("Black.ini"), black);
    EXPECT_EQ(Read("Button.ini"), button);
    EXPECT_EQ(Read("White.ini"), "");
    EXPECT_NE(Read("Main.ini"), "<missing>");  // only the missing ones are written

    const auto blackList = lists.Snapshot(ListKind::Black);
    EXPECT_EQ(blackList->front(), "my text");
    EXPECT_EQ(std::find(blackList->begin(), blackList->end(), "No files selected"),
              blackList->end());
    const auto buttons = lists.Snapshot(ListKind::Button);
    EXPECT_NE(std::find(buttons->begin(), buttons->end(), "MYBUTTONCLASS"), buttons->end());
    EXPECT_NE(std::find(buttons->begin(), buttons->end(), "BUTTON"), buttons->end());
    // The white list falls back to its built-in entries.
    EXPECT_EQ(lists.Snapshot(ListKind::White)->size(), 3u);
}

TEST_F(ProgramFolderFiles, UnwritableFolderGivesDefaultListsAndNoFiles) {
    const std::string missing = folder_ + "no/such/folder/";
    ProgramLists lists;
    PrepareProgramFolder(missing, lists);
    EXPECT_FALSE(FileExists(missing + "Vantor.ini"));
    EXPECT_FALSE(FileExists(missing + "Main.ini"));
    EXPECT_EQ(lists.Snapshot(ListKind::Black)->size(), 2u);
    EXPECT_EQ(*lists.Snapshot(ListKind::Main), ListEntries{"TDRIVEDLG"});
    EXPECT_EQ(lists.Snapshot(ListKind::Edit)->size(), 17u);
}

}  // namespace
}  // namespace vantor
