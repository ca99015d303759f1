#include "base/profile.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"

namespace vantor {
namespace {

using namespace std::string_literals;

// Expected results below were checked against GetPrivateProfileStringA/IntA on Wine 8 (cp1251).
struct ReadCase {
    const char* what;
    std::string file;
    std::string section;
    std::string key;
    std::string def;
    std::size_t size;
    std::string expected;
};

TEST(ProfileRead, AgreesWithTheSystemOnAwkwardFiles) {
    const std::string big(5000, 'x');
    const std::vector<ReadCase> cases = {
        {"plain", "[Main]\r\nKey=v\r\n", "Main", "Key", "d", 4096, "v"},
        {"blanks around =", "[Main]\r\n \t Key \t=   v w  \r\n", "Main", "Key", "d", 4096, "v w"},
        {"^Z and VT are blanks", "[Main]\r\nKey=\x0bv\x1a\r\n", "Main", "Key", "d", 4096, "v"},
        {"double quotes", "[Main]\r\nKey=\" v \"\r\n", "Main", "Key", "d", 4096, " v "},
        {"single quotes", "[Main]\r\nKey='v'", "Main", "Key", "d", 4096, "v"},
        {"unmatched quotes stay", "[Main]\r\nKey=\"v'", "Main", "Key", "d", 4096, "\"v'"},
        {"lone quote stays", "[Main]\r\nKey=\"", "Main", "Key", "d", 4096, "\""},
        {"empty quotes", "[Main]\r\nKey=\"\"", "Main", "Key", "d", 4096, ""},
        {"empty value is not the default", "[Main]\r\nKey=\r\n", "Main", "Key", "d", 4096, ""},
        {"first duplicate key wins", "[Main]\r\nKey=1\r\nKey=2\r\n", "Main", "Key", "d", 4096, "1"},
        {"only the first section is searched", "[Main]\r\nA=1\r\n[X]\r\n[Main]\r\nKey=2\r\n",
         "Main", "Key", "d", 4096, "d"},
        {"missing section", "[Other]\r\nKey=1\r\n", "Main", "Key", "d", 4096, "d"},
        {"keys before any section", "Key=1\r\n[Main]\r\n", "Main", "Key", "d", 4096, "d"},
        {"comment line", "[Main]\r\n;Key=1\r\n", "Main", "Key", "d", 4096, "d"},
        {"key without = hides a later one", "[Main]\r\nKey\r\nKey=5\r\n", "Main", "Key", "d", 4096,
         "d"},
        {"CR-only lines", "[Main]\rKey=v\rX=1", "Main", "Key", "d", 4096, "v"},
        {"LF-only lines", "[Main]\nA=1\nKey=v\n", "Main", "Key", "d", 4096, "v"},
        {"blank lines and no final line end", "\r\n\r\n[Main]\r\n\r\n\r\nKey=v", "Main", "Key", "d",
         4096, "v"},
        {"ASCII case ignored", "[mAIN]\r\nkEY=v\r\n", "  Main ", "KEY\t", "d", 4096, "v"},
        {"Cyrillic case kept", "[\xC0]\r\nKey=v\r\n", "\xE0", "Key", "d", 4096, "d"},
        {"cp1251 bytes pass through", "[\xC0]\r\n\xE0=\xFF\x98\xB8\r\n", "\xC0", "\xE0", "", 4096,
         "\xFF\x98\xB8"},
        {"blanks inside the brackets", "[ Main ] tail\r\nKey=v\r\n", "Main", "Key", "d", 4096, "v"},
        {"name runs to the last ]", "[Ma]in]\r\nKey=v\r\n", "Ma]in", "Key", "d", 4096, "v"},
        {"[ without ] is a key line", "[Main\r\nKey=v\r\n", "Main", "Key", "d", 4096, "d"},
        {"NUL ends a value", "[Main]\r\nKey=ab\0cd\r\n"s, "Main", "Key", "d", 4096, "ab"},
        {"NUL ends a section name", "[Ma\0xx]\r\nKey=v\r\n"s, "Ma", "Key", "d", 4096, "v"},
        {"NUL ends the asked name", "[Main]\r\nKey=v\r\n", "Main", "Key\0zz"s, "d", 4096, "v"},
        {"value longer than the buffer", "[Main]\r\nKey=" + big, "Main", "Key", "", 4096,
         big.substr(0, 4095)},
        {"small buffer", "[Main]\r\nKey=abcdefg", "Main", "Key", "", 5, "abcd"},
        {"quoted value exactly filling the buffer loses a byte", "[Main]\r\nKey=\"abcd\"", "Main",
         "Key", "", 5, "abc"},
        {"buffer of one", "[Main]\r\nKey=abc", "Main", "Key", "", 1, ""},
        {"buffer of zero", "[Main]\r\nKey=abc", "Main", "Key", "", 0, ""},
        {"empty file", "", "Main", "Key", "d", 4096, "d"},
        {"default loses trailing spaces", "", "Main", "Key", "d  ", 4096, "d"},
        {"all-blank default keeps one", "", "Main", "Key", "   ", 4096, " "},
        {"default loses quotes", "", "Main", "Key", "\"x\"", 4096, "x"},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(ProfileGetString(c.file, c.section, c.key, c.def, c.size), c.expected) << c.what;
        // The same read that tells a missing key (the default) from a present one.
        const std::optional<std::string> found =
            ProfileFindString(c.file, c.section, c.key, c.size);
        EXPECT_EQ(found.value_or(ProfileGetString("", "", "-", c.def, c.size)), c.expected)
            << c.what;
    }
    EXPECT_EQ(ProfileFindString("[Main]\r\nKey=\r\n", "Main", "Key"),
              std::optional<std::string>(""));
    EXPECT_EQ(ProfileFindString("[Main]\r\nKey\r\n", "Main", "Key"), std::nullopt);
}

TEST(ProfileRead, UnicodeFilesAreHandedBackInCp1251) {
    const std::string bom8 = "\xEF\xBB\xBF";
    // UTF-16LE of "[Main]\r\nK=" followed by U+0420 U+00C0 U+4E2D.
    const std::string utf16 = "\xFF\xFE[\0M\0a\0i\0n\0]\0\r\0\n\0K\0=\0\x20\x04\xC0\0\x2D\x4E"s;
    const std::vector<ReadCase> cases = {
        {"UTF-8 Cyrillic", bom8 + "[Main]\r\nK=\xD0\xA0\xD1\x83\xD1\x81\r\n", "Main", "K", "", 4096,
         "\xD0\xF3\xF1"},
        {"UTF-8 best fit and a character outside the plane",
         bom8 + "[Main]\nK=\xC3\x80\xF0\x9F\x98\x80", "Main", "K", "", 4096, "A??"},
        {"UTF-8 malformed sequences", bom8 + "[Main]\nK=\xED\xA0\x80|\xC0\x80|\xE2\x82", "Main",
         "K", "", 4096, "??|??|?"},
        {"UTF-8 mark makes the first section visible", bom8 + "[Main]\r\nK=1", "Main", "K", "d",
         4096, "1"},
        {"UTF-16LE", utf16, "Main", "K", "", 4096,
         "\xD0"
         "A?"},
        {"UTF-16LE odd last byte", utf16 + "u", "Main", "K", "", 4096,
         "\xD0"
         "A?u"},
        {"half a mark is ANSI", "\xEF\xBB[Main]\r\nK=1", "Main", "K", "d", 4096, "d"},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(ProfileGetString(c.file, c.section, c.key, c.def, c.size), c.expected) << c.what;
    }
}

TEST(ProfileWrite, UnicodeFilesStayUnicode) {
    std::string out;
    ASSERT_TRUE(ProfileSetString("\xEF\xBB\xBF[Main]\r\nLanguage=Eng\r\n", "Main", "Language",
                                 "\xD0\xF3\xF1", out));
    EXPECT_EQ(out, "\xEF\xBB\xBF[Main]\r\nLanguage=\xD0\xA0\xD1\x83\xD1\x81\r\n");
    EXPECT_EQ(ProfileGetString(out, "Main", "Language", ""), "\xD0\xF3\xF1");

    out = "untouched";
    EXPECT_FALSE(ProfileSetString("\xFF\xFE[\0M\0]\0"s, "M", "K", "1", out));
    EXPECT_EQ(out, "untouched");
}

TEST(ProfileRead, IntegersParseLikeTheSystem) {
    struct IntCase {
        std::string value;
        std::int32_t expected;
    };
    const std::vector<IntCase> cases = {
        {"2", 2},        {"true", 0},       {"12abc", 12}, {"-1", -1},          {"+7", 7},
        {"0x1F", 31},    {"0X1F", 0},       {"0b101", 5},  {"0o17", 15},        {"\"42\"", 42},
        {"\" 42\"", 42}, {"4294967297", 1}, {"300", 300},  {"\xD0\xE0\xE7", 0}, {"", -77},
        {"\"\"", -77},   {"   ", -77},      {"'", 0},
    };
    for (const IntCase& c : cases) {
        EXPECT_EQ(ProfileGetInt("[Main]\r\nKey=" + c.value + "\r\n", "Main", "Key", -77),
                  c.expected)
            << c.value;
    }
    EXPECT_EQ(ProfileGetInt("[Main]\r\n", "Main", "Key", -77), -77);
    EXPECT_EQ(ProfileGetInt("", "Main", "Key", 4), 4);
}

struct WriteCase {
    const char* what;
    std::string before;
    std::string after;  // after setting Main/Width to 230
};

TEST(ProfileWrite, ChangesOnlyTheOneLine) {
    const std::vector<WriteCase> cases = {
        {"replace in place, comments and odd spacing kept",
         "; mine\r\n\r\n[Main]\r\nA = 1\r\n  Width =  200  \r\n\r\n[Other]\r\nWidth=5\r\n",
         "; mine\r\n\r\n[Main]\r\nA = 1\r\nWidth=230\r\n\r\n[Other]\r\nWidth=5\r\n"},
        {"insert before the blank line that ends the section",
         "[Main]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n",
         "[Main]\r\nA=1\r\nWidth=230\r\n\r\n[Other]\r\nB=2\r\n"},
        {"default file without a final line end", "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5",
         "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5\r\nWidth=230\r\n"},
        {"header is the last line", "[Main]", "[Main]\r\nWidth=230\r\n"},
        {"missing section appended", "X=1", "X=1\r\n[Main]\r\nWidth=230\r\n"},
        {"missing section after a final line end", "[Other]\r\n",
         "[Other]\r\n[Main]\r\nWidth=230\r\n"},
        {"empty file", "", "[Main]\r\nWidth=230\r\n"},
        {"LF-only replace", "[Main]\nWidth=1\nA=2\n", "[Main]\nWidth=230\nA=2\n"},
        {"LF-only insert", "[Main]\nA=2\n\n[B]\n", "[Main]\nA=2\nWidth=230\r\n\n[B]\n"},
        {"CR-only insert", "[Main]\rA=2\r[B]\r", "[Main]\rA=2\rWidth=230\r\n[B]\r"},
        {"first of duplicate sections", "[Main]\r\nA=1\r\n[Main]\r\nWidth=1\r\n",
         "[Main]\r\nA=1\r\nWidth=230\r\n[Main]\r\nWidth=1\r\n"},
        {"first of duplicate keys", "[Main]\r\nwidth=1\r\nWidth=2\r\n",
         "[Main]\r\nWidth=230\r\nWidth=2\r\n"},
        {"key line without =", "[MAIN]\r\nWidth\r\n", "[MAIN]\r\nWidth=230\r\n"},
        {"odd bytes elsewhere kept", "\xFF\0\x1a\r\n[Main]\r\n\xE0=\0\r\n"s,
         "\xFF\0\x1a\r\n[Main]\r\n\xE0=\0\r\nWidth=230\r\n"s},
    };
    for (const WriteCase& c : cases) {
        std::string out = "untouched";
        ASSERT_TRUE(ProfileSetString(c.before, "Main", "Width", "230", out)) << c.what;
        EXPECT_EQ(out, c.after) << c.what;
        EXPECT_EQ(ProfileGetInt(out, "Main", "Width", -1), 230) << c.what;
    }
}

TEST(ProfileWrite, OtherKeysReadTheSameAfterAWrite) {
    const std::vector<std::string> files = {
        "",
        "[Main]",
        "A=1\r\n[Main]\r\nB=2",
        "[Main]\rA=\"q\"\r[Other]\rWidth=9",
        "[Other]\nA=1\n\n[Main]\n;c\nB=2\n\n",
        "[main]\r\n\r\n[Main]\r\nA=1\r\n",
        "[Main]\r\nKey\r\nA=\0x\r\n"s,
    };
    const std::vector<std::pair<std::string, std::string>> probes = {
        {"Main", "A"},      {"Main", "B"}, {"Other", "A"},
        {"Other", "Width"}, {"", "A"},     {"Main", "Key"}};
    for (const std::string& file : files) {
        std::string out;
        ASSERT_TRUE(ProfileSetString(file, "Main", "Width", " 7 ", out));
        EXPECT_EQ(ProfileGetString(out, "Main", "Width", "none"), "7") << file;
        for (const auto& [section, key] : probes)
            EXPECT_EQ(ProfileGetString(out, section, key, "none"),
                      ProfileGetString(file, section, key, "none"))
                << file << " / " << section << " / " << key;
    }
}

TEST(ProfileWrite, RefusesNamesThatCouldNotBeReadBackAndCutsLineBreaks) {
    std::string out = "untouched";
    for (const std::string& key : {""s, "  "s, "[x"s, "a=b"s, "a\r\nb"s, "a\0b"s})
        EXPECT_FALSE(ProfileSetString("[Main]\r\n", "Main", key, "1", out)) << key;
    for (const std::string& section : {""s, " "s, "M\nX"s})
        EXPECT_FALSE(ProfileSetString("[Main]\r\n", section, "Key", "1", out)) << section;
    EXPECT_EQ(out, "untouched");

    // A value with a line break must not smuggle in another key.
    ASSERT_TRUE(ProfileSetString("[Main]\r\n", "Main", "Language", "Rus\r\nWidth=1", out));
    EXPECT_EQ(out, "[Main]\r\nLanguage=Rus\r\n");
    EXPECT_EQ(ProfileGetInt(out, "Main", "Width", -1), -1);
}

class ProfileFileTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        path_ = (dir_ / "Vantor.ini").string();
    }

    std::string path_;
};

TEST_F(ProfileFileTest, MissingFileReadsDefaultsAndIsCreatedByAWrite) {
    ProfileFile file(path_);
    EXPECT_EQ(file.ReadString("Main", "Language", "x"), "x");
    EXPECT_EQ(file.ReadInt("Main", "Width", 230), 230);
    ASSERT_TRUE(file.WriteString("Main", "Width", "231"));
    EXPECT_EQ(ReadWholeFile(path_).value_or("?"), "[Main]\r\nWidth=231\r\n");
}

TEST_F(ProfileFileTest, EveryCallSeesTheFileAsItIsNow) {
    ProfileFile file(path_);
    ASSERT_TRUE(WriteWholeFile(path_, "[Main]\r\nWidth=1\r\n"));
    EXPECT_EQ(file.ReadInt("Main", "Width", 0), 1);
    ASSERT_TRUE(WriteWholeFile(path_, "[Main]\r\nWidth=2\r\n"));
    EXPECT_EQ(file.ReadInt("Main", "Width", 0), 2);
    ASSERT_TRUE(file.WriteString("Main", "Height", "3"));
    EXPECT_EQ(ReadWholeFile(path_).value_or("?"), "[Main]\r\nWidth=2\r\nHeight=3\r\n");
}

TEST_F(ProfileFileTest, UnreadableFileIsNeverReplaced) {
    // A directory in the file's place exists but cannot be read, like a file held locked.
    std::filesystem::create_directories(path_);
    ProfileFile file(path_);
    EXPECT_EQ(file.ReadInt("Main", "Width", 230), 230);
    EXPECT_FALSE(file.WriteString("Main", "Width", "1"));
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

TEST_F(ProfileFileTest, WritingTheSameValueLeavesTheFileAlone) {
    ASSERT_TRUE(WriteWholeFile(path_, "[Main]\r\nWidth=5\r\n"));
    // Whole seconds: mingw's std::filesystem sets file times to the second only.
    const auto old = std::chrono::floor<std::chrono::seconds>(
        std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
    std::filesystem::last_write_time(path_, old);
    ProfileFile file(path_);
    EXPECT_TRUE(file.WriteString("Main", "Width", "5"));
    EXPECT_EQ(std::filesystem::last_write_time(path_), old);
    EXPECT_TRUE(file.WriteString("Main", "Width", "6"));
    EXPECT_NE(std::filesystem::last_write_time(path_), old);
}

TEST_F(ProfileFileTest, HugeSingleLineIsCutOnReadAndKeptOnWrite) {
    const std::string huge(10 * 1024 * 1024, 'x');
    ASSERT_TRUE(WriteWholeFile(path_, "[Main]\r\nLanguage=" + huge));
    ProfileFile file(path_);
    EXPECT_EQ(file.ReadString("Main", "Language", ""), huge.substr(0, 4095));
    ASSERT_TRUE(file.WriteString("Main", "Width", "230"));
    EXPECT_EQ(ReadWholeFile(path_).value_or("?"),
              "[Main]\r\nLanguage=" + huge + "\r\nWidth=230\r\n");
}

}  // namespace
}  // namespace vantor
