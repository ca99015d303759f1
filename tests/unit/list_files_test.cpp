// Loading the seven list files: line format, normalisation, defaults merging, class lists and
// the files on disk.
#include "lists/list_files.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "lists/pattern.h"

namespace vantor {
namespace {

using Lines = std::vector<std::string>;

std::size_t Count(std::string_view s, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t p = s.find(what); p != std::string_view::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

// The lines of a default content, split independently of the loader's splitter.
Lines DefaultLinesOf(ListKind kind) {
    Lines out;
    std::string cur;
    for (char c : DefaultListContent(kind)) {
        if (c == '\n') {
            out.push_back(cur.substr(0, cur.size() - 1));  // drop the CR before it
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

TEST(ListFiles, SplitLinesFollowsTheFileFormat) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"empty", "", {}},
        {"no line end", "abc", {"abc"}},
        {"crlf", "a\r\nb", {"a", "b"}},
        {"trailing crlf adds no line", "a\r\nb\r\n", {"a", "b"}},
        {"lone cr ends a line", "a\rb\rc", {"a", "b", "c"}},
        {"lone lf stays inside", "a\nb\r\nc", {"a\nb", "c"}},
        {"cr cr lf", "a\r\r\nb", {"a", "", "b"}},
        {"blank lines kept by the splitter", "\r\n\r\nx", {"", "", "x"}},
        {"nul ends the text", std::string("ab\r\ncd\0ef\r\ngh", 14), {"ab", "cd"}},
        {"nul first", std::string("\0abc", 4), {}},
        {"high bytes pass through", "\xFF\xC0\r\n\x80", {"\xFF\xC0", "\x80"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitListLines(c.bytes), c.expected) << c.name;
}

TEST(ListFiles, NormalisationOfPatternsAndAdvancedLines) {
    struct Case {
        const char* input;
        const char* pattern;
        const char* advanced;
    };
    const std::vector<Case> cases = {
        {"*Save changes*", "Save changes", "Save changes"},
        {"*Save ?hanges*", "*Save ?hanges*", "*Save ?hanges*"},
        {"*a*b*", "*a*b*", "*a*b*"},
        {"*", "", ""},
        {"**", "", ""},
        {"*x", "*x", "*x"},
        {"x*", "x*", "x*"},
        {"", "", ""},
        {"TDRIVEDLG", "TDRIVEDLG", "TDRIVEDLG"},
        {"IEFrame|Edit=*.htm*|Maximize", "IEFrame|Edit=*.htm*|Maximize",
         "IEFrame|Edit=.htm|Maximize"},
        {"A||B", "A||B", "A||B"},
        {"A|", "A|", "A|"},
        {"*cls*|*a=b*", "*cls*|*a=b*", "cls|*a=b*"},  // only the value after "=" counts
        {"||", "||", "||"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormalisePattern(c.input), c.pattern) << c.input;
        EXPECT_EQ(NormaliseAdvancedLine(c.input), c.advanced) << c.input;
    }
    EXPECT_EQ(NormaliseAdvancedLine("W=*t*|C=*x*|B=*?*"), "W=t|C=x|B=*?*");
}

TEST(ListFiles, DefaultContentsAreByteExact) {
    struct Case {
        ListKind kind;
        const char* file;
        std::size_t lines;
        const char* first;
        const char* last;
    };
    const std::vector<Case> cases = {
        {ListKind::Main, "Main.ini", 34, "; Advanced windows list",
         "; \xD1\xEC\xEE\xF2\xF0\xE8\xF2\xE5 \xF2\xE0\xEA\xE6\xE5 \xF1\xEF\xF0\xE0\xE2\xEA\xF3 "
         "\xE8 \xF4\xF3\xED\xEA\xF6\xE8\xFE \xCF\xEE\xE4\xE3\xEB\xFF\xE4\xFB\xE2\xE0\xED\xE8\xE5"},
        {ListKind::Black, "Black.ini", 12, "; Black list",
         "\xCD\xE5\xF2 \xE2\xFB\xE1\xF0\xE0\xED\xED\xFB\xF5 \xF4\xE0\xE9\xEB\xEE\xE2"},
        {ListKind::White, "White.ini", 14, "; White list",
         "*\xCD\xE0\xE6\xEC\xE8\xF2\xE5 ?OK? \xEF\xEE \xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xE8 "
         "\xF0\xE0\xE1\xEE\xF2\xFB \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB*"},
        {ListKind::Replace, "Replace.ini", 15, "; Replace list",
         "; [3] Total Commander 7.0*|[3] Total Commander 7.0 - "
         "\xC1\xF0\xE8\xEC\xEA\xE0\xF1\xF2\xE5\xF0"},
        {ListKind::Button, "Button.ini", 8,
         "; Button (buttons, radiobuttons, checkboxes etc.) classes list", "Obj_Button"},
        {ListKind::Static, "Static.ini", 7, "; Static (Label) classes list", "msounistat"},
        {ListKind::Edit, "Edit.ini", 20, "; Edit classes list for Alt+Up/Dn keys", "TElipsisEdit"},
    };
    for (const Case& c : cases) {
        const std::string_view content = DefaultListContent(c.kind);
        EXPECT_STREQ(ListFileName(c.kind), c.file);
        EXPECT_EQ(Count(content, "\r\n"), c.lines - 1) << c.file;
        EXPECT_EQ(Count(content, "\n"), c.lines - 1) << c.file << ": no lone LF";
        EXPECT_EQ(Count(content, "\r"), c.lines - 1) << c.file << ": no lone CR";
        EXPECT_EQ(content.find('\0'), std::string_view::npos);
        const Lines lines = DefaultLinesOf(c.kind);
        ASSERT_EQ(lines.size(), c.lines) << c.file;
        EXPECT_EQ(lines.front(), c.first) << c.file;
        EXPECT_EQ(lines.back(), c.last) << c.file;
        EXPECT_NE(content.substr(content.size() - 1), "\n") << c.file;
    }
    const Lines replace = DefaultLinesOf(ListKind::Replace);
    for (std::size_t i = 0; i < replace.size(); ++i)
        EXPECT_EQ(Count(replace[i], "\t"), (i == 2 || i == 4 || i == 6) ? 1u : 0u)
            << "line " << i + 1;
    EXPECT_EQ(replace[2], "; Total Commander 7.0 - public*\tTotal Commander 7.0 - Brimcaster");
    EXPECT_EQ(Count(DefaultListContent(ListKind::Main), "\t"), 0u);

    const Lines black = DefaultLinesOf(ListKind::Black);
    EXPECT_EQ(black[6], "; \xD7\xB8\xF0\xED\xFB\xE9 \xF1\xEF\xE8\xF1\xEE\xEA");  // "Чёрный список"
    EXPECT_EQ(black[1], "; That UNNECESSARY windows were always closed without messages, ");
    const Lines main = DefaultLinesOf(ListKind::Main);
    EXPECT_EQ(main[11], "TDRIVEDLG");
    EXPECT_EQ(main[25], "TDRIVEDLG");
    EXPECT_EQ(std::count(main.begin(), main.end(), ""), 8);
    const Lines edit = DefaultLinesOf(ListKind::Edit);
    EXPECT_EQ(edit[15], "WindowsForms10.EDIT.app3");
}

TEST(ListFiles, RuleListsMergeDefaultsAfterUserEntries) {
    struct Case {
        const char* name;
        ListKind kind;
        const char* path;
        std::optional<std::string> bytes;
        Lines expected;
    };
    const std::string kNoFiles = "No files selected";
    const std::string kNoFilesRu =
        "\xCD\xE5\xF2 \xE2\xFB\xE1\xF0\xE0\xED\xED\xFB\xF5 \xF4\xE0\xE9\xEB\xEE\xE2";
    const std::string kWhite3 =
        "*\xCD\xE0\xE6\xEC\xE8\xF2\xE5 ?OK? \xEF\xEE \xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xE8 "
        "\xF0\xE0\xE1\xEE\xF2\xFB \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB*";
    const std::vector<Case> cases = {
        {"missing black", ListKind::Black, "/p/Black.ini", std::nullopt, {kNoFiles, kNoFilesRu}},
        {"missing main", ListKind::Main, "/p/Main.ini", std::nullopt, {"TDRIVEDLG"}},
        {"missing replace", ListKind::Replace, "/p/Replace.ini", std::nullopt, {}},
        {"missing white",
         ListKind::White,
         "/p/White.ini",
         std::nullopt,
         {"close Internet Explorer before you continue", "Click OK when program terminates",
          kWhite3}},
        {"default main file keeps both",
         ListKind::Main,
         "/p/Main.ini",
         std::string(DefaultListContent(ListKind::Main)),
         {"TDRIVEDLG", "TDRIVEDLG"}},
        {"user entries first, patterns normalised",
         ListKind::Black,
         "/p/black.INI",
         "*Save changes*\r\n*Save ?hanges*\r\n*\r\n",
         {"Save changes", "*Save ?hanges*", "", kNoFiles, kNoFilesRu}},
        {"commented with ;", ListKind::Black, "/p/Black.ini", ";No files selected", {kNoFilesRu}},
        {"commented with '; '",
         ListKind::Black,
         "/p/Black.ini",
         "; No files selected",
         {kNoFilesRu}},
        {"two blanks do not hide it",
         ListKind::Black,
         "/p/Black.ini",
         ";  No files selected",
         {kNoFiles, kNoFilesRu}},
        {"comparison is case-sensitive",
         ListKind::Black,
         "/p/Black.ini",
         "no files selected",
         {"no files selected", kNoFiles, kNoFilesRu}},
        {"a comment to the eye is no entry, however indented",
         ListKind::Replace,
         "/p/Replace.ini",
         " ; text\r\n\t;c\r\n;d\r\n\x01 x",
         {"\x01 x"}},
        {"an indented comment still hides a default",
         ListKind::Black,
         "/p/Black.ini",
         "\t; No files selected",
         {kNoFilesRu}},
        {"tab becomes bar, replace not normalised",
         ListKind::Replace,
         "/p/Replace.ini",
         "Caption\tNew caption\r\n*x*|y",
         {"Caption|New caption", "*x*|y"}},
        {"a line of TABs is blank, never an entry of bars",
         ListKind::Replace,
         "/p/Replace.ini",
         "\t\t\r\n  \r\n",
         {}},
        {"main rules must name a window",
         ListKind::Main,
         "/p/Main.ini",
         "|\r\n=\r\n=*\r\n |Edit=x|Close\r\n*=x\r\n=Caption\r\nCls=",
         {"*=x", "=Caption", "Cls=", "TDRIVEDLG"}},
        {"advanced lines normalised",
         ListKind::Main,
         "/p/Main.ini",
         "IEFrame|Edit=*.htm*|Maximize\r\n[Main]",
         {"IEFrame|Edit=.htm|Maximize", "[Main]", "TDRIVEDLG"}},
        {"duplicates kept", ListKind::White, "/p/x.txt", "a\r\na\r\n", {"a", "a"}},
        {"last matching name decides",
         ListKind::Black,
         "/Main.ini/Black.ini",
         "",
         {kNoFiles, kNoFilesRu}},
        {"lone LF inside an entry", ListKind::Black, "/p/none", "a\nb\rc", {"a\nb", "c"}},
        {"nul ends the file",
         ListKind::Black,
         "/p/none",
         std::string("a\r\nb\0\r\nc", 8),
         {"a", "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadRuleList(c.kind, c.path, c.bytes), c.expected) << c.name;
}

TEST(ListFiles, ClassListsAreUpperSortedAndMergedWithoutCase) {
    struct Case {
        const char* name;
        const char* path;
        std::optional<std::string> bytes;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"missing static",
         "/p/Static.ini",
         std::nullopt,
         {"MSOUNISTAT", "STATIC", "TSTATIC", "[STATIC]"}},
        {"default button file",
         "/p/Button.ini",
         std::string(DefaultListContent(ListKind::Button)),
         {"BUTTON", "OBJ_BUTTON", "TBITBTN", "TBUTTON", "[BUTTON]"}},
        {"file holds button once",
         "/p/Button.ini",
         "Button",
         {"BUTTON", "OBJ_BUTTON", "TBITBTN", "TBUTTON", "[BUTTON]"}},
        {";button keeps it out",
         "/p/Button.ini",
         ";button\r\n; tbutton",
         {"OBJ_BUTTON", "TBITBTN", "[BUTTON]"}},
        {"user classes upper-cased, cyrillic too",
         "/p/none.ini",
         "my\xE0\x63lass\r\n\tx",
         {"\tX",
          "MY\xC0"
          "CLASS"}},
        {"tab-only line is blank here", "/p/none.ini", "\t\t\r\n", {}},
    };
    for (const Case& c : cases) {
        const Lines got = LoadClassList(c.path, c.bytes);
        EXPECT_EQ(got, c.expected) << c.name;
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end())) << c.name;
    }
    const Lines edit = LoadClassList("/p/Edit.ini", std::nullopt);
    EXPECT_EQ(edit.size(), 17u);
}

TEST(ListFiles, ClassListLookupIgnoresCase) {
    const Lines edit = LoadClassList("/p/Edit.ini", std::nullopt);
    struct Case {
        const char* name;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"Edit", true},      {"EDIT", true},
        {"edit", true},      {"TRichEditOLE", true},
        {"trichedit", true}, {"WindowsForms10.EDIT.app3", true},
        {"[edit]", true},    {"Edi", false},
        {"Edits", false},    {"", false},
        {"Static", false},   {"TElipsisEdit", true},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassListContains(edit, c.name), c.expected) << c.name;
    EXPECT_FALSE(ClassListContains({}, "Edit"));
    const Lines cyr = LoadClassList("/p/x", std::string("\xC0\xE1\r\nb"));
    EXPECT_TRUE(ClassListContains(cyr, "\xE0\xC1"));  // lower/upper Cyrillic pairs
}

TEST(ListFiles, HugeAndOddInputsLoadWithoutHarm) {
    std::string huge(10 * 1024 * 1024, 'x');
    huge[5] = '\t';
    const Lines rule = LoadRuleList(ListKind::White, "/p/none", huge);
    ASSERT_EQ(rule.size(), 1u);
    EXPECT_EQ(rule[0].size(), huge.size());
    EXPECT_EQ(rule[0][5], '|');
    const Lines cls = LoadClassList("/p/none", huge);
    ASSERT_EQ(cls.size(), 1u);
    EXPECT_EQ(cls[0][0], 'X');

    std::string allBytes;
    for (int i = 1; i < 256; ++i) allBytes += static_cast<char>(i);
    // Only the CR (13) ends a line here; the first line, control characters and its LF, is
    // blank to the eye.
    const Lines odd = LoadRuleList(ListKind::Main, "/p/none", allBytes);
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].front(), '\x0E');
}

using ListFilesOnDisk = TempFolderTest;

TEST_F(ListFilesOnDisk, AppendAddsOneLineAndKeepsContent) {
    struct Case {
        const char* name;
        std::optional<std::string> before;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"no line end at the end", std::string("a\r\nb"), "a\r\nb\r\nnew\r\n"},
        {"already ends with crlf", std::string("a\r\n"), "a\r\nnew\r\n"},
        {"ends with lone lf", std::string("a\n"), "a\n\r\nnew\r\n"},
        {"empty file", std::string(""), "new\r\n"},
        {"missing file", std::nullopt, "new\r\n"},
    };
    for (const Case& c : cases) {
        const std::string path = folder_ + "White.ini";
        std::filesystem::remove(path);
        if (c.before) {
            ASSERT_TRUE(WriteWholeFile(path, *c.before));
        }
        EXPECT_TRUE(AppendListEntryToFile(path, "new")) << c.name;
        EXPECT_EQ(ReadWholeFile(path), c.after) << c.name;
    }
    const std::string path = folder_ + "White.ini";
    ASSERT_TRUE(WriteWholeFile(path, std::string(DefaultListContent(ListKind::White))));
    ASSERT_TRUE(AppendListEntryToFile(path, "Line one\r\nLine two"));
    const Lines white = LoadRuleList(ListKind::White, path, ReadWholeFile(path));
    EXPECT_EQ(white[white.size() - 2], "Line one");
    EXPECT_EQ(white.back(), "Line two");
}

TEST_F(ListFilesOnDisk, AppendNeverTouchesAFileItCannotRead) {
    // A directory stands in for a file that exists but cannot be read.
    const std::string path = folder_ + "Black.ini";
    std::filesystem::create_directory(path);
    EXPECT_FALSE(AppendListEntryToFile(path, "x"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_TRUE(std::filesystem::is_empty(path));
}

}  // namespace
}  // namespace vantor
