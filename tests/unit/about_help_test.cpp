// The about text (read-me search, reflow, built-in descriptions) and how a help topic is opened.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "lang/about.h"
#include "lang/help.h"
#include "lists/file_io.h"

namespace vantor {
namespace {

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

class AboutFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vantor-about-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "Language");
        folder_ = dir_.string() + "/";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void Write(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteWholeFile(folder_ + name, bytes)) << name;
    }

    std::filesystem::path dir_;
    std::string folder_;
};

TEST_F(AboutFolder, TheFirstReadMeThatExistsUnderTheVersionLine) {
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
    // A huge read-me is cut.
    Write("Read_Me_.txt", std::string(3u << 20, 'x'));
    EXPECT_EQ(AboutText(folder_, "").size(),
              std::string("Vantor 3.21\r\n\r\n").size() + kMaxReadMeBytes);
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
