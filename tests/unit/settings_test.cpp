#include "settings/settings.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "base/file_io.h"
#include "settings/command_line.h"
#include "settings/settings_store.h"
#include "shell/autorun.h"
#include "ui/settings_dialog.h"

namespace vantor {
namespace {

class SettingsTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        path_ = SettingsPathIn(folder_);
    }

    std::string Contents() const { return ReadWholeFile(path_).value_or("<missing>"); }

    std::string path_;
};

TEST_F(SettingsTest, DefaultFileIsWrittenOnceAndNeverOverUsersFile) {
    EXPECT_TRUE(WriteDefaultSettingsIfMissing(folder_));
    EXPECT_EQ(Contents(), "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5");
    ASSERT_TRUE(WriteWholeFile(path_, "[Main]\r\nLanguage=Eng\r\n"));
    EXPECT_FALSE(WriteDefaultSettingsIfMissing(folder_));
    EXPECT_EQ(Contents(), "[Main]\r\nLanguage=Eng\r\n");
}

TEST(SettingsTable, EveryKeyWithItsTypeAndDefault) {
    using T = SettingType;
    const struct {
        const char* key;
        SettingType type;
        const char* def;  // as the file would hold it
    } expected[] = {
        {"Language", T::kText, ""},           {"btCopy.Visible", T::kBool, "0"},
        {"btClose.Visible", T::kBool, "0"},   {"IsTimer", T::kBool, "0"},
        {"btExit.Visible", T::kBool, "0"},    {"cbBorder", T::kBool, "1"},
        {"MessageTransparent", T::kInt, "222"}, {"MessageTime", T::kInt, "4"},
        {"NoCenter", T::kBool, "1"},          {"Color", T::kText, ""},
        {"TextColor", T::kText, ""},          {"Width", T::kInt, "230"},
        {"Height", T::kInt, "100"},           {"fmSetup.Left", T::kInt, "567"},
        {"fmSetup.Top", T::kInt, "105"},      {"cbAutoclose", T::kBool, "1"},
        {"cbClose", T::kInt, "0"},            {"cbChangeCase", T::kBool, "0"},
        {"cbChangeCaseFirst", T::kBool, "0"}, {"cbSelectAll", T::kBool, "0"},
        {"cbCloseYesNo", T::kBool, "0"},     {"WindowEvents", T::kBool, "1"},
        {"History", T::kBool, "1"},          {"HistoryKB", T::kInt, "1024"},
    };
    EXPECT_EQ(MainSettingsTable().size(), std::size(expected));
    const MainSettings defaults;
    const MainSettings fromNoFile = ReadMainSettings("");
    for (const auto& e : expected) {
        const SettingDef* def = FindSetting(e.key);
        ASSERT_NE(def, nullptr) << e.key;
        EXPECT_EQ(TypeOf(*def), e.type) << e.key;
        EXPECT_EQ(SettingText(defaults, *def), e.def) << e.key;
        EXPECT_EQ(SettingText(fromNoFile, *def), e.def) << e.key;
    }
    EXPECT_EQ(FindSetting("btExit .Caption"), nullptr);
    EXPECT_EQ(FindSetting("cbclose"), nullptr);  // the table's names are exact
}

// Each row: the file's [Main] lines, a key, what it reads as, and (optional) what the program
// makes of it.
TEST(SettingsTable, ValuesFromHandEditedFiles) {
    const struct {
        const char* lines;
        const char* key;
        const char* reads;
    } cases[] = {
        {"cbBorder=2", "cbBorder", "1"},
        {"cbBorder=-1", "cbBorder", "1"},
        {"cbBorder=true", "cbBorder", "0"},  // not a number: 0
        {"cbBorder=0x0", "cbBorder", "0"},
        {"cbBorder=", "cbBorder", "1"},  // empty: the default
        {"cbBorder=  ", "cbBorder", "1"},
        {"cbBorder=\"0\"", "cbBorder", "0"},
        {"CBBORDER=0", "cbBorder", "0"},  // key names compare without case
        {"cbAutoclose", "cbAutoclose", "1"},  // no "=": the default
        {"MessageTransparent=300", "MessageTransparent", "300"},
        {"MessageTime=-5", "MessageTime", "-5"},
        {"MessageTime=12abc", "MessageTime", "12"},
        {"MessageTime=4294967297", "MessageTime", "1"},  // 32-bit wrap
        {"cbClose=7", "cbClose", "7"},
        {"Width=-40", "Width", "-40"},
        {"fmSetup.Left=-1280", "fmSetup.Left", "-1280"},
        {"Language= Rus ", "Language", "Rus"},
        {"Color=clBtnFace", "Color", "clBtnFace"},
        {"IsTimer=1\r\nIsTimer=0", "IsTimer", "1"},  // the first of a repeated key
        {"WindowEvents=0", "WindowEvents", "0"},
        {"History=0\r\nHistoryKB=4", "HistoryKB", "4"},
    };
    for (const auto& c : cases) {
        const MainSettings s = ReadMainSettings(std::string("[main]\r\n") + c.lines);
        EXPECT_EQ(SettingText(s, *FindSetting(c.key)), c.reads) << c.lines;
    }
    const std::string longValue(9000, 'L');
    EXPECT_EQ(ReadMainSettings("[Main]\r\nLanguage=" + longValue).Language, longValue.substr(0, 4095));
}

TEST(SettingsTable, OutOfRangeValuesAsTheProgramAppliesThem) {
    const struct {
        std::int32_t messageTime;
        unsigned seconds;
        std::int32_t transparent;
        int opacity;
        bool layered;
    } cases[] = {
        {4, 4, 222, 222, true},     {0, 0, 255, 255, false}, {-5, 0, 300, 44, true},
        {-2147483647 - 1, 0, -1, 255, false}, {2147483647, 2147483647u, 511, 255, false},
        {1, 1, 256, 0, true},
    };
    for (const auto& c : cases) {
        MainSettings s;
        s.MessageTime = c.messageTime;
        s.MessageTransparent = c.transparent;
        EXPECT_EQ(MessageSeconds(s), c.seconds) << c.messageTime;
        EXPECT_EQ(OpacityOf(s.MessageTransparent), c.opacity) << c.transparent;
        EXPECT_EQ(IsLayeredOpacity(s.MessageTransparent), c.layered) << c.transparent;
    }
}

TEST_F(SettingsTest, HandEditedFileThenTheCommandLine) {
    ASSERT_TRUE(WriteWholeFile(path_,
                               "[main]\r\nbtExit.Visible=2\r\ncbBorder=true\r\nIsTimer=1\r\n"
                               "MessageTime=9\r\nNoCenter=0\r\nColor=clBtnFace\r\n"
                               "TextColor=clbtnface\r\n"));
    SettingsStore store;
    store.Load(path_);
    MainSettings s = *store.Get();
    EXPECT_TRUE(s.ExitVisible);
    EXPECT_FALSE(s.Border);
    EXPECT_TRUE(s.CloseButtonCountdown);
    EXPECT_EQ(BackgroundOf(s).kind, BackgroundKind::Unchanged);
    EXPECT_TRUE(BackgroundOf(s).textAreaFollows);
    EXPECT_FALSE(TextColorFromSetting(s.TextColor));

    // The command line comes afterwards and wins for this run.
    ApplyCommandLine(SplitCommandLine("vantor.exe messagetime=3 nocenter color=ff0000"), s);
    EXPECT_EQ(s.MessageTime, 3);
    EXPECT_TRUE(s.NoCenter);
    EXPECT_EQ(BackgroundOf(s).kind, BackgroundKind::Rgb);
    EXPECT_EQ(BackgroundOf(s).rgb, 0x0000FFu);
    EXPECT_TRUE(BackgroundOf(s).textAreaFollows);
}

TEST_F(SettingsTest, GroupsAreWrittenInTheirOrderFromTheSettingsInForce) {
    ASSERT_TRUE(WriteDefaultSettingsIfMissing(folder_));
    SettingsStore store;
    store.Load(path_);
    EXPECT_EQ(store.Get()->Language, "Rus");
    // A live option changed and a command-line word: in force, not written by themselves.
    store.Update([](MainSettings& s) { s.SelectAll = true; });
    store.Update([](MainSettings& s) { ApplyOption("isexitbutton", s); });
    EXPECT_EQ(Contents(), kDefaultSettingsContent);

    ASSERT_TRUE(store.Write(WriteGroup::kOk, [](MainSettings& s) {
        s.Autoclose = false;
        s.CloseOn = 2;
        s.Border = false;
        s.CloseButtonCountdown = true;  // the check state is stored...
    }));
    store.Update(
        [](MainSettings& s) { s.CloseButtonCountdown = false; });  // ...what is in force may differ
    ASSERT_TRUE(store.Write(WriteGroup::kShutdown, [](MainSettings& s) {
        s.SavedWidth = 300;
        s.SavedHeight = 120;
        s.SetupLeft = -1280;
        s.SetupTop = 5;
    }));
    // A value cannot add lines to the file.
    ASSERT_TRUE(store.Write(WriteGroup::kLanguage,
                            [](MainSettings& s) { s.Language = "\xD0\xF3\xF1\r\nWidth=1"; }));
    EXPECT_EQ(Contents(),
              "[Main]\r\nLanguage=\xD0\xF3\xF1\r\n;TimeReloadLists=5\r\ncbAutoclose=0\r\n"
              "cbChangeCase=0\r\ncbChangeCaseFirst=0\r\ncbSelectAll=1\r\ncbCloseYesNo=0\r\n"
              "cbClose=2\r\nbtCopy.Visible=0\r\nbtClose.Visible=0\r\nIsTimer=1\r\n"
              "btExit.Visible=1\r\ncbBorder=0\r\nWidth=300\r\nHeight=120\r\n"
              "fmSetup.Left=-1280\r\nfmSetup.Top=5\r\n");
    EXPECT_FALSE(store.Get()->CloseButtonCountdown);

    SettingsStore again;
    again.Load(path_);
    EXPECT_EQ(again.Get()->Language, "\xD0\xF3\xF1");
    EXPECT_EQ(again.Get()->SetupLeft, -1280);
    EXPECT_FALSE(again.Get()->Autoclose);
    EXPECT_EQ(again.Get()->CloseOn, 2);
    EXPECT_TRUE(again.Get()->SelectAll);
    EXPECT_TRUE(again.Get()->CloseButtonCountdown);
    EXPECT_TRUE(again.Get()->ExitVisible);
    EXPECT_FALSE(again.Get()->Border);

    // Writing the values the file already has leaves it (and its time) alone.
    const auto before = std::filesystem::last_write_time(path_);
    EXPECT_TRUE(again.Write(WriteGroup::kOk));
    EXPECT_EQ(std::filesystem::last_write_time(path_), before);
}

TEST_F(SettingsTest, WritesOnlyInWriteModeAndNeverOverAnUnreadableFile) {
    ASSERT_TRUE(WriteDefaultSettingsIfMissing(folder_));
    SettingsFile file(path_);
    const ProfileEntry entry{"cbAutoclose", "0"};
    EXPECT_FALSE(file.WriteGroup({&entry, 1}));
    EXPECT_EQ(Contents(), kDefaultSettingsContent);
    {
        SettingsWriteScope scope(file);
        EXPECT_EQ(file.CurrentMode(), SettingsFile::Mode::Write);
        EXPECT_TRUE(file.WriteGroup({&entry, 1}));
    }
    EXPECT_EQ(file.CurrentMode(), SettingsFile::Mode::Read);
    EXPECT_EQ(Contents(), "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5\r\ncbAutoclose=0\r\n");

    std::filesystem::remove(path_);
    std::filesystem::create_directories(path_);  // exists, cannot be read as a file
    SettingsStore store;
    store.Load(path_);
    EXPECT_FALSE(WriteDefaultSettingsIfMissing(folder_));
    EXPECT_EQ(store.Get()->MessageTime, 4);
    EXPECT_FALSE(store.Write(WriteGroup::kShutdown));
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

// The watcher reads the live options on the timer thread while the GUI thread clicks them and
// stores groups: every snapshot it sees is one the GUI thread published whole.
TEST(SettingsStore, ThreadedReadersSeeWholeChanges) {
    SettingsStore store;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            const auto s = store.Get();
            // The writer changes these two together.
            ASSERT_EQ(s->SelectAll, s->MessageTime % 2 == 1);
            ASSERT_EQ(s->CloseYesNo, s->SelectAll);
        }
    });
    for (int i = 5; i < 2005; ++i) {
        store.Update([i](MainSettings& s) {
            s.MessageTime = i;
            s.SelectAll = i % 2 == 1;
            s.CloseYesNo = s.SelectAll;
        });
    }
    done = true;
    reader.join();
    EXPECT_EQ(store.Get()->MessageTime, 2004);
}

TEST(SettingsPaths, FileNameAndRunValue) {
    EXPECT_EQ(SettingsPathIn("C:\\Vantor\\"), "C:\\Vantor\\Vantor.ini");
    EXPECT_EQ(SettingsPathIn("C:\\Vantor"), "C:\\Vantor\\Vantor.ini");
    EXPECT_EQ(SettingsPathIn("/opt/v"), "/opt/v/Vantor.ini");
    EXPECT_EQ(RunValueData("C:\\Vantor\\vantor.exe"), "C:\\Vantor\\vantor.exe");
    EXPECT_EQ(RunValueData("C:\\Program Files\\Vantor\\vantor.exe"),
              "\"C:\\Program Files\\Vantor\\vantor.exe\"");
    EXPECT_EQ(RunValueData("C:\\A\tB\\v.exe"), "C:\\A\tB\\v.exe");  // only code 32 counts

    // Autorun shows on when the value names this program in the form a click writes it.
    const std::string exe = "C:\\Program Files\\Vantor\\vantor.exe";
    const struct {
        std::optional<std::string> value;
        bool on;
    } runs[] = {
        {"\"C:\\Program Files\\Vantor\\vantor.exe\"", true},
        {"\"c:\\program files\\vantor\\VANTOR.EXE\"", true},  // without regard to case
        {"C:\\Program Files\\Vantor\\vantor.exe", false},     // unquoted
        {"\"C:\\Other\\vantor.exe\"", false},
        {"", false},
        {std::nullopt, false},  // missing, or not a string
    };
    for (const auto& r : runs) EXPECT_EQ(AutorunIsOn(r.value, exe), r.on) << r.value.value_or("-");
}

// Which check box of the settings dialog stands for which key, and which act at once.
TEST(SettingsDialogTable, CheckBoxesAndTheirKeys) {
    auto keyOf = [](bool MainSettings::*field) {
        for (const SettingDef& def : MainSettingsTable()) {
            if (def.field == SettingField(field)) return std::string(def.key);
        }
        return std::string("?");
    };
    const struct {
        int id;
        const char* key;
        bool live;
    } expected[] = {
        {kCheckAutoclose, "cbAutoclose", true},
        {kCheckChangeCase, "cbChangeCase", true},
        {kCheckChangeCaseFirst, "cbChangeCaseFirst", true},
        {kCheckSelectAll, "cbSelectAll", true},
        {kCheckCloseYesNo, "cbCloseYesNo", true},
        {kCheckBtCopy, "btCopy.Visible", false},
        {kCheckBtClose, "btClose.Visible", false},
        {kCheckBtTimer, "IsTimer", false},
        {kCheckBtExit, "btExit.Visible", false},
        {kCheckBorder, "cbBorder", false},
    };
    ASSERT_EQ(SetupCheckBoxes().size(), std::size(expected));
    std::vector<std::string_view> okKeys;
    for (const auto& e : expected) {
        const SetupCheckDef* def = FindSetupCheck(e.id);
        ASSERT_NE(def, nullptr) << e.key;
        EXPECT_EQ(keyOf(def->setting), e.key);
        EXPECT_EQ(def->live, e.live) << e.key;
        okKeys.push_back(e.key);
    }
    // OK stores every one of them and "cbClose"; nothing else.
    okKeys.push_back("cbClose");
    std::vector<std::string_view> written;
    for (const SettingDef* def : KeysOf(WriteGroup::kOk)) written.push_back(def->key);
    std::sort(okKeys.begin(), okKeys.end());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(okKeys, written);

    // A click changes the settings in force only for the five live options.
    for (int id : {int(kCheckAutoRun), int(kCheckBtCopy), int(kCheckBorder), int(kBtOK), 0}) {
        MainSettings s;
        EXPECT_FALSE(ApplyLiveClick(id, false, s)) << id;
        EXPECT_EQ(SettingText(s, *FindSetting("cbBorder")), "1");
    }
    MainSettings s;
    EXPECT_TRUE(ApplyLiveClick(kCheckCloseYesNo, true, s));
    EXPECT_TRUE(s.CloseYesNo);
    EXPECT_TRUE(ApplyLiveClick(kCheckAutoclose, false, s));
    EXPECT_FALSE(s.Autoclose);
    EXPECT_TRUE(TimerInForce(true, true));
    EXPECT_FALSE(TimerInForce(true, false));
}

}  // namespace
}  // namespace vantor
