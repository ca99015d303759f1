// Language files read from a real folder: what applying one gives, the language list, the
// choice made in it, and the shipped Russian file against the text table; the about text
// and the help plan, which also depend on the language and the program folder.
#include "lang/language_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/profile.h"
#include "base/text.h"
#include "lang/about.h"
#include "lang/help.h"

namespace vantor {
namespace {

class LanguageFolder : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        std::filesystem::create_directories(dir_ / "Language");
    }
    void Write(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteWholeFile(folder_ + name, bytes)) << name;
    }
};

TEST(LanguageNames, PathsItemsAndChoices) {
    EXPECT_EQ(LanguageFilePath("C:\\V\\", "Rus"), "C:\\V\\Language\\Rus.lng");
    EXPECT_EQ(LanguageFilePath("/opt/v/", "Rus"), "/opt/v/Language/Rus.lng");
    EXPECT_EQ(LanguageFilePath("C:\\V\\", " \t"), " \t");  // blank: no file at all
    EXPECT_EQ(LanguageFilePath("C:\\V\\", ""), "");
    const struct {
        const char* path;
        const char* base;
    } bases[] = {{"C:\\V\\Language\\Rus.lng", "Rus"},
                 {"C:\\V\\Language\\sub\\De.lng", "De"},
                 {"C:\\V\\Language\\a.b.lng", "a.b"},
                 {"/v/Language/Ukr.lng", "Ukr"},
                 {"NoExtension", "NoExtension"}};
    for (const auto& b : bases) EXPECT_EQ(BaseNameOf(b.path), b.base) << b.path;

    EXPECT_EQ(LanguageListItem("Rus", "\xD0\xF3\xF1"), "Rus (\xD0\xF3\xF1)");
    EXPECT_EQ(LanguageListItem("Rus", ""), "Rus");
    const struct {
        int index;
        const char* item;
        bool store, apply, restartNote;
        const char* language;
    } choices[] = {
        {1, "Rus (\xD0\xF3\xF1\xF1\xEA\xE8\xE9)", true, true, false, "Rus"},
        {2, "De", true, true, false, "De"},
        {2, "Odd (name) (Display)", true, true, false, "Odd"},  // cut at the first " ("
        {3, " (x)", true, false, false, ""},                    // blank: stored, not applied
        {0, "  Build-in (English)", true, false, true, ""},
        // The list opened from the keyboard holds the current language alone: kept.
        {0, "Rus (\xD0\xF3\xF1\xF1\xEA\xE8\xE9)", true, true, false, "Rus"},
        {-1, "", false, false, false, ""},
    };
    for (const auto& c : choices) {
        const LanguageChoice choice = ChooseLanguage(c.index, c.item);
        EXPECT_EQ(choice.store, c.store) << c.item;
        EXPECT_EQ(choice.apply, c.apply) << c.item;
        EXPECT_EQ(choice.restartNote, c.restartNote) << c.item;
        EXPECT_EQ(choice.language, c.language) << c.item;
    }
}

TEST_F(LanguageFolder, ApplyingAFileAndNamesWithoutOne) {
    Write("Language/Test.lng",
          "[Language]\r\nLanguage=Testish\r\n[Messages]\r\nssOK=\xEE\xEA\r\nssClose=\r\n"
          "[fmMain]\r\nbtExit .Caption=Out\r\nbtCopy.Caption=\r\npmSpy.Caption=Peek\r\n"
          "[fmSetup]\r\ngbMain.Caption=Main\r\n");
    const CaptionSet builtIn = BuiltInCaptions();
    const AppliedLanguage test = ReadLanguage(folder_, "Test", builtIn);
    EXPECT_TRUE(test.fromFile);
    EXPECT_EQ(test.listItem, "Test (Testish)");
    EXPECT_EQ(test.helpFile, std::nullopt) << "no Vantor_Test.hlp: the help file stays";
    EXPECT_EQ(test.texts.runTexts.ssOK, "\xCE\xCA");  // ок stored as ОК
    EXPECT_EQ(test.texts.runTexts.ssClose, "");       // present and empty
    EXPECT_EQ(test.texts.runTexts.ssYes, "YES");
    EXPECT_EQ(test.texts.captions[Caption::btExit], "Out");
    EXPECT_EQ(test.texts.captions[Caption::btCopy], "");
    EXPECT_EQ(test.texts.captions[Caption::pmSpy], "Peek");
    EXPECT_EQ(test.texts.captions[Caption::gbMain], " Main ");
    EXPECT_EQ(test.texts.captions[Caption::gbKeyboard], " Keyboard and edits ");
    EXPECT_EQ(test.texts.captions[Caption::lbLanguage], "Language/ Language");

    // A help file of its own is taken; a second application pads the group boxes again.
    Write("Vantor_Test.hlp", "");
    const AppliedLanguage again = ReadLanguage(folder_, "Test", test.texts.captions);
    EXPECT_EQ(again.helpFile, folder_ + "Vantor_Test.hlp");
    EXPECT_EQ(again.texts.captions[Caption::gbMain], " Main ");  // the file gives "Main" again
    EXPECT_EQ(again.texts.captions[Caption::gbKeyboard], "  Keyboard and edits  ");

    // No file: a blank name, a missing one, a folder of that name. The built-in run-time
    // texts, Vantor.hlp, the built-in list entry; the captions stay as they were.
    std::filesystem::create_directories(dir_ / "Language" / "Dir.lng");
    for (const char* name : {"", "  ", "Missing", "Dir"}) {
        const AppliedLanguage none = ReadLanguage(folder_, name, test.texts.captions);
        EXPECT_FALSE(none.fromFile) << name;
        EXPECT_EQ(none.listItem, "  Build-in (English)") << name;
        EXPECT_EQ(none.helpFile, folder_ + "Vantor.hlp") << name;
        EXPECT_EQ(none.texts.runTexts.ssOK, "OK") << name;
        EXPECT_EQ(none.texts.runTexts.ssNotAutoClosed,
                  "There were no automatically closed windows.")
            << name;
        EXPECT_EQ(none.texts.captions, test.texts.captions) << name;
    }

    // Odd bytes: no sections, a NUL, a huge line; every key falls back.
    Write("Language/Odd.lng", std::string("\0\xFF[fmMain\r\n", 11) + std::string(100000, 'x'));
    const AppliedLanguage odd = ReadLanguage(folder_, "Odd", builtIn);
    EXPECT_TRUE(odd.fromFile);
    EXPECT_EQ(odd.listItem, "Odd");
    EXPECT_EQ(odd.texts.captions[Caption::pmSpy], "Spy");
    EXPECT_EQ(odd.texts.captions[Caption::gbMain], " Main ");  // treated all the same
    EXPECT_EQ(odd.texts.runTexts.ssOK, "OK");
}

TEST_F(LanguageFolder, TheListOffersTheFilesFound) {
    Write("Language/Rus.lng", "[Language]\r\nLanguage=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n");
    Write("Language/De.LNG", "[Messages]\r\nssOK=OK\r\n");  // no display name
    Write("Language/notes.txt", "not a language");
    std::filesystem::create_directories(dir_ / "Language" / "Folder.lng");
    const std::vector<std::string> names = LanguageFileNames(folder_);
    EXPECT_EQ(names, (std::vector<std::string>{"De.LNG", "Rus.lng"}));

    const struct {
        const char* current;
        int selected;
    } cases[] = {{"Rus", 2}, {"De", 1}, {"RUS", 0}, {"", 0}, {"Ukr", 0}};
    for (const auto& c : cases) {
        const LanguageList list = BuildLanguageList(folder_, names, c.current);
        EXPECT_EQ(list.items, (std::vector<std::string>{"  Build-in (English)", "De",
                                                        "Rus (\xD0\xF3\xF1\xF1\xEA\xE8\xE9)"}));
        EXPECT_EQ(list.selected, c.selected) << c.current;
    }
    std::filesystem::remove_all(dir_ / "Language");
    EXPECT_TRUE(LanguageFileNames(folder_).empty());
    EXPECT_EQ(BuildLanguageList(folder_, {}, "Rus").items.size(), 1u);
}

// The shipped Russian file gives every key of the table, none of them empty, and the
// Russian button words the system's dialogs use.
TEST(ShippedLanguage, RussianFileHasEveryKey) {
    const std::string path = std::string(VANTOR_SOURCE_DIR) + "/Language/Rus.lng";
    const std::optional<std::string> bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes) << path;
    EXPECT_EQ(DisplayNameIn(*bytes), "\xD0\xF3\xF1\xF1\xEA\xE8\xE9");
    int keys = 0;
    const LanguageTexts texts =
        ApplyLanguage(BuiltInCaptions(), [&](TextSection section, std::string_view key) {
            std::optional<std::string> value = ProfileFindString(*bytes, SectionName(section), key);
            EXPECT_TRUE(value && !value->empty()) << SectionName(section) << " " << key;
            ++keys;
            return value;
        });
    EXPECT_EQ(keys, 53);
    EXPECT_EQ(texts.runTexts.ssOK, "\xCE\xCA");
    EXPECT_EQ(texts.runTexts.ssYes, "\xC4\xC0");
    EXPECT_EQ(texts.runTexts.ssNo, "\xCD\xC5\xD2");
    EXPECT_EQ(texts.captions[Caption::btExit], "\xC2\xFB\xF5\xEE\xE4");
    // A menu item keeps its shortcut after the tab.
    EXPECT_NE(texts.captions[Caption::pmTopic].find("\tF1"), std::string::npos);
}

// The about text: read-me search, reflow and the built-in descriptions; and the help plan.
TEST(About, ReflowJoinsParagraphLines) {
    const struct {
        const char* file;
        const char* shown;
    } cases[] = {
        // Two lines of a paragraph, an empty line, a list item.
        {"one\r\ntwo\r\n\r\n- item", "one two\r\n\r\n- item"},
        {"a\r\n- b\r\n- c", "a\r\n- b\r\n- c"},
        {"C:\\Program Files\\V", "C:\r\nProgram Files\r\nV"},  // a backslash breaks the line
        {"a   b", "a  b"},                                     // three blanks: two
        {"a    b", "a  b"},                                    // four: two
        {"a\r\n\r\n\r\nb", "a\r\n\r\n b"},  // three breaks: an empty line, then a blank
        {"a\nb\rc", "a\nb\rc"},             // lone LF and CR are no line ends here
        {"", ""},
        {"end\r\n", "end "},
    };
    for (const auto& c : cases) EXPECT_EQ(ReflowReadMe(c.file), c.shown) << c.file;
}

TEST_F(LanguageFolder, AboutTakesTheFirstReadMeThatExistsUnderTheVersionLine) {
    EXPECT_EQ(ReadMeCandidates("C:\\V\\", "Rus"),
              (std::vector<std::string>{"C:\\V\\Read_Me_Rus.txt",
                                        "C:\\V\\Language\\Read_Me_Rus.txt", "C:\\V\\Read_Me.txt"}));
    // None: the built-in description, Russian for any spelling of "rus".
    const std::string russian = std::string(BuiltInDescription("Rus"));
    EXPECT_EQ(russian.substr(0, 9), "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0");  // "Программа"
    EXPECT_EQ(BuiltInDescription("rUS"), russian);
    EXPECT_EQ(AboutText(folder_, "Rus"), "Vantor 3.21\r\n\r\n" + russian);
    EXPECT_EQ(AboutText(folder_, ""),
              "Vantor 3.21\r\n\r\nUtility for closing useless messages with OK button and "
              "another work with windows");

    const struct {
        const char* create;  // one more file, in this order
        const char* language;
        const char* shown;
    } steps[] = {
        {"Read_Me.txt", "Rus", "common"},
        {"Language/Read_Me_Rus.txt", "Rus", "in Language"},
        {"Read_Me_Rus.txt", "Rus", "beside"},
        {"Read_Me_.txt", "", "empty language"},  // taken before Read_Me.txt
        {"Read_Me_De.txt", "Rus", "beside"},
    };
    for (const auto& s : steps) {
        Write(s.create, std::string(s.shown) + "\r\n");
        EXPECT_EQ(AboutText(folder_, s.language),
                  "Vantor 3.21\r\n\r\n" + std::string(s.shown) + " ")
            << s.create;
    }
    // A folder named like a read-me is no read-me; an empty read-me shows the version alone.
    std::filesystem::remove(dir_ / "Read_Me_Rus.txt");
    std::filesystem::create_directories(dir_ / "Read_Me_Rus.txt");
    EXPECT_EQ(AboutText(folder_, "Rus"), "Vantor 3.21\r\n\r\nin Language ");
    Write("Language/Read_Me_Rus.txt", "");
    EXPECT_EQ(AboutText(folder_, "Rus"), "Vantor 3.21");
    // A huge read-me, or a huge language file in the list, is read only up to 1 MiB.
    Write("Read_Me_.txt", std::string(3u << 20, 'x'));
    Write("Language/Big.lng", "[Language]\r\nLanguage=Big\r\n");
    for (const char* name : {"Read_Me_.txt", "Language/Big.lng"})
        std::filesystem::resize_file(dir_ / name, 1ull << 30);  // the rest is a sparse hole
    const long long before = BytesReadSoFar();
    EXPECT_EQ(AboutText(folder_, "").size(),
              std::string("Vantor 3.21\r\n\r\n").size() + kMaxReadMeBytes);
    EXPECT_EQ(BuildLanguageList(folder_, {"Big.lng"}, "").items.back(), "Big (Big)");
    EXPECT_LT(BytesReadSoFar() - before, 4ll << 20);
}

TEST(Help, TheHelpFileOrTheGuideAtTheTopic) {
    EXPECT_EQ(HelpFileOfModule("C:\\Program Files\\V\\vantor.exe"),
              "C:\\Program Files\\V\\vantor.hlp");
    EXPECT_EQ(HelpFileOfModule("C:\\v.1\\vantor"), "C:\\v.1\\vantor.hlp");
    EXPECT_EQ(BuiltInHelpFile("C:\\V\\"), "C:\\V\\Vantor.hlp");
    EXPECT_EQ(LanguageHelpFile("C:\\V\\", "Rus"), "C:\\V\\Vantor_Rus.hlp");

    const struct {
        bool helpExists, guideExists;
        unsigned topic;
        HelpPlan::Kind kind;
        const char* file;
        const char* url;
    } plans[] = {
        {true, true, 10, HelpPlan::Kind::kWinHelp, "C:\\V\\Vantor_Rus.hlp", ""},
        {false, true, 10, HelpPlan::Kind::kGuide, "C:\\V\\Vantor.html",
         "file:///C:/V/Vantor.html#topic10"},
        {false, true, 51, HelpPlan::Kind::kGuide, "C:\\V\\Vantor.html",
         "file:///C:/V/Vantor.html#topic51"},
        {false, false, 51, HelpPlan::Kind::kNothing, "", ""},
    };
    for (const auto& p : plans) {
        const HelpPlan plan =
            PlanHelp("C:\\V\\Vantor_Rus.hlp", p.helpExists, "C:\\V\\", p.guideExists, p.topic);
        EXPECT_EQ(plan.kind, p.kind) << p.topic;
        EXPECT_EQ(plan.file, p.file);
        EXPECT_EQ(plan.url, p.url);
    }

    const struct {
        const char* path;
        const char* url;
    } urls[] = {
        {"C:\\Program Files\\Vantor\\Vantor.html", "file:///C:/Program%20Files/Vantor/Vantor.html"},
        {"\\\\server\\share\\V\\Vantor.html", "file://server/share/V/Vantor.html"},
        {"D:\\100%\\#1?\\v.html", "file:///D:/100%25/%231%3F/v.html"},
        {"Z:\\\xCF\xE0\xEF\xEA\xE0\\v.html", "file:///Z:/\xCF\xE0\xEF\xEA\xE0/v.html"},
    };
    for (const auto& u : urls) EXPECT_EQ(FileUrl(u.path, ""), u.url) << u.path;
    EXPECT_EQ(FileUrl("C:\\a b.html", "topic10"), "file:///C:/a%20b.html#topic10");
}

}  // namespace
}  // namespace vantor
