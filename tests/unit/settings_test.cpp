#include "shell/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lists/file_io.h"
#include "shell/autorun.h"
#include "shell/command_line.h"

namespace vantor {
namespace {

class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vantor-settings-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        folder_ = dir_.string() + "/";
        path_ = SettingsPathIn(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Contents() const { return ReadWholeFile(path_).value_or("<missing>"); }

    std::filesystem::path dir_;
    std::string folder_;
    std::string path_;
};

TEST_F(SettingsTest, DefaultFileIsWrittenOnceAndNeverOverUsersFile) {
    EXPECT_TRUE(WriteDefaultSettingsIfMissing(folder_));
    EXPECT_EQ(Contents(), "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5");
    ASSERT_TRUE(WriteWholeFile(path_, "[Main]\r\nLanguage=Eng\r\n"));
    EXPECT_FALSE(WriteDefaultSettingsIfMissing(folder_));
    EXPECT_EQ(Contents(), "[Main]\r\nLanguage=Eng\r\n");
}

TEST_F(SettingsTest, BooleansReadAsNumbers) {
    struct Case {
        const char* line;  // nullptr: no such key
        bool def;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"Flag=1", false, true},    {"Flag=2", false, true},   {"Flag=-1", false, true},
        {"Flag=true", true, false}, {"Flag=0", true, false},   {"Flag=0x0", true, false},
        {"Flag=", true, true},      {"Flag=  ", false, false}, {"Flag=\"1\"", false, true},
        {nullptr, true, true},      {nullptr, false, false},   {"flag=1", false, true},
    };
    SettingsFile file(path_);
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteWholeFile(path_, std::string("[Main]\r\n") + (c.line ? c.line : "")));
        EXPECT_EQ(file.ReadBool("Flag", c.def), c.expected) << (c.line ? c.line : "(none)");
    }
}

TEST_F(SettingsTest, MainFormKeysWithNoFileGiveTheBuiltInDefaults) {
    SettingsFile file(path_);
    RunSettings s;
    ReadMainFormKeys(file, s);
    ReadWatcherKeys(file, s);
    ReadSavedSize(file, s);
    EXPECT_FALSE(s.CopyVisible || s.CloseVisible || s.ExitVisible || s.IsTimer);
    EXPECT_TRUE(s.Border);
    EXPECT_TRUE(s.WindowEvents);
    EXPECT_TRUE(s.NoCenter);
    EXPECT_EQ(s.MessageTransparent, 222);
    EXPECT_EQ(s.MessageTime, 4);
    EXPECT_EQ(s.SavedWidth, 230);
    EXPECT_EQ(s.SavedHeight, 100);
    EXPECT_EQ(s.Background.kind, BackgroundKind::Unchanged);
    EXPECT_FALSE(s.Background.textAreaFollows);
    EXPECT_FALSE(s.TextColor);
}

TEST_F(SettingsTest, MainFormKeysFromAHandEditedFile) {
    ASSERT_TRUE(WriteWholeFile(path_,
                               "[main]\r\nbtExit.Visible=2\r\ncbBorder=true\r\nIsTimer=1\r\n"
                               "MessageTransparent=300\r\nMessageTime=9\r\nNoCenter=0\r\n"
                               "Color=clBtnFace\r\nTextColor=clbtnface\r\nWidth=-40\r\n"
                               "WindowEvents=0\r\n"));
    SettingsFile file(path_);
    RunSettings s;
    ReadMainFormKeys(file, s);
    ReadWatcherKeys(file, s);
    ReadSavedSize(file, s);
    EXPECT_FALSE(s.WindowEvents);
    EXPECT_TRUE(s.ExitVisible);
    EXPECT_FALSE(s.CopyVisible);
    EXPECT_FALSE(s.Border);  // "true" reads as 0
    EXPECT_TRUE(s.IsTimer);
    EXPECT_EQ(s.MessageTransparent, 300);
    EXPECT_EQ(OpacityOf(s.MessageTransparent), 44);
    EXPECT_EQ(s.MessageTime, 9);
    EXPECT_FALSE(s.NoCenter);
    EXPECT_EQ(s.Background.kind, BackgroundKind::Unchanged);
    EXPECT_TRUE(s.Background.textAreaFollows);
    EXPECT_FALSE(s.TextColor);
    EXPECT_EQ(s.SavedWidth, -40);
    EXPECT_EQ(s.SavedHeight, 100);

    // The command line comes afterwards and wins for this run.
    ApplyCommandLine(SplitCommandLine("vantor.exe messagetime=3 nocenter color=ff0000"), s);
    EXPECT_EQ(s.MessageTime, 3);
    EXPECT_TRUE(s.NoCenter);
    EXPECT_EQ(s.Background.kind, BackgroundKind::Rgb);
    EXPECT_EQ(s.Background.rgb, 0x0000FFu);
}

TEST_F(SettingsTest, WritesOnlyInWriteModeAndStoreOnesAndZeros) {
    ASSERT_TRUE(WriteDefaultSettingsIfMissing(folder_));
    SettingsFile file(path_);
    EXPECT_FALSE(file.WriteBool(kKeyAutoclose, true));
    EXPECT_EQ(Contents(), kDefaultSettingsContent);
    {
        SettingsWriteScope scope(file);
        EXPECT_EQ(file.CurrentMode(), SettingsFile::Mode::Write);
        EXPECT_TRUE(file.WriteBool(kKeyAutoclose, false));
        EXPECT_TRUE(file.WriteInt(kKeyWidth, -12));
    }
    EXPECT_EQ(file.CurrentMode(), SettingsFile::Mode::Read);
    EXPECT_EQ(Contents(),
              "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5\r\ncbAutoclose=0\r\nWidth=-12\r\n");
}

TEST_F(SettingsTest, DialogKeysRoundTripInTheirOrder) {
    ASSERT_TRUE(WriteDefaultSettingsIfMissing(folder_));
    SettingsFile file(path_);
    DialogSettings d;
    ReadDialogKeys(file, d);
    EXPECT_EQ(d.Language, "Rus");
    EXPECT_EQ(d.Left, 567);
    EXPECT_EQ(d.Top, 105);
    EXPECT_TRUE(d.Autoclose);

    d.Autoclose = false;
    d.Close = 2;
    d.SelectAll = true;
    d.ExitVisible = true;
    d.Border = false;
    ASSERT_TRUE(WriteDialogOk(file, d));
    ASSERT_TRUE(WriteShutdownKeys(file, 300, 120, -1280, 5));
    ASSERT_TRUE(WriteLanguage(file, "\xD0\xF3\xF1\r\nWidth=1"));
    EXPECT_EQ(Contents(),
              "[Main]\r\nLanguage=\xD0\xF3\xF1\r\n;TimeReloadLists=5\r\ncbAutoclose=0\r\n"
              "cbChangeCase=0\r\ncbChangeCaseFirst=0\r\ncbSelectAll=1\r\ncbCloseYesNo=0\r\n"
              "cbClose=2\r\nbtCopy.Visible=0\r\nbtClose.Visible=0\r\nIsTimer=0\r\n"
              "btExit.Visible=1\r\ncbBorder=0\r\nWidth=300\r\nHeight=120\r\n"
              "fmSetup.Left=-1280\r\nfmSetup.Top=5\r\n");
    EXPECT_EQ(file.CurrentMode(), SettingsFile::Mode::Read);

    DialogSettings again;
    ReadDialogKeys(file, again);
    EXPECT_EQ(again.Language, "\xD0\xF3\xF1");
    EXPECT_EQ(again.Left, -1280);
    EXPECT_EQ(again.Top, 5);
    EXPECT_FALSE(again.Autoclose);
    EXPECT_EQ(again.Close, 2);
    EXPECT_TRUE(again.SelectAll);
    RunSettings s;
    ReadMainFormKeys(file, s);
    EXPECT_TRUE(s.ExitVisible);
    EXPECT_FALSE(s.Border);
}

TEST_F(SettingsTest, UnreadableFileReadsDefaultsAndSurvivesWrites) {
    std::filesystem::create_directories(path_);  // exists, cannot be read as a file
    SettingsFile file(path_);
    EXPECT_FALSE(WriteDefaultSettingsIfMissing(folder_));
    EXPECT_EQ(file.ReadText(kKeyLanguage, "x"), "x");
    EXPECT_FALSE(WriteShutdownKeys(file, 1, 2, 3, 4));
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

TEST_F(SettingsTest, LongTextIsCutAt4095Bytes) {
    ASSERT_TRUE(WriteWholeFile(path_, "[Main]\r\nLanguage=" + std::string(9000, 'L')));
    EXPECT_EQ(SettingsFile(path_).ReadText(kKeyLanguage), std::string(4095, 'L'));
}

TEST(SettingsPaths, FileNameAndRunValue) {
    EXPECT_EQ(SettingsPathIn("C:\\Vantor\\"), "C:\\Vantor\\Vantor.ini");
    EXPECT_EQ(SettingsPathIn("C:\\Vantor"), "C:\\Vantor\\Vantor.ini");
    EXPECT_EQ(SettingsPathIn("/opt/v"), "/opt/v/Vantor.ini");
    EXPECT_EQ(RunValueData("C:\\Vantor\\vantor.exe"), "C:\\Vantor\\vantor.exe");
    EXPECT_EQ(RunValueData("C:\\Program Files\\Vantor\\vantor.exe"),
              "\"C:\\Program Files\\Vantor\\vantor.exe\"");
    EXPECT_EQ(RunValueData("C:\\A\tB\\v.exe"), "C:\\A\tB\\v.exe");  // only code 32 counts
}

}  // namespace
}  // namespace vantor
