// vantor.exe's first start in an empty folder writes its settings file and the seven list
// files beside itself, byte for byte; later starts never touch files that exist.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e_support.h"

namespace vantor::e2e {
namespace {

const std::vector<std::string> kProgramFiles = {"Black.ini",  "Button.ini",  "Edit.ini",
                                                "Main.ini",   "Replace.ini", "Static.ini",
                                                "Vantor.ini", "White.ini"};

// Sizes of the program's files in folder; empty while one of them is still missing.
std::vector<long long> FileSizes(const std::string& folder) {
    std::vector<long long> sizes;
    for (const auto& name : kProgramFiles) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(JoinPath(folder, name).c_str(), GetFileExInfoStandard, &data)) {
            return {};
        }
        sizes.push_back((static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    }
    return sizes;
}

// Copies vantor.exe into folder (its program folder) and runs it with a working folder
// elsewhere, so that files written relative to the current folder would show up there.
// A program that stays in the tray is ended (by its process handle) once all its files are
// there and have kept their sizes for half a second; one that ends by itself must exit 0.
void RunVantorIn(const std::string& folder) {
    const std::string exe = JoinPath(folder, "vantor.exe");
    if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ASSERT_TRUE(CopyFileTo(VantorExePath(), exe)) << "copy to " << Escaped(exe);
    }
    const std::string elsewhere = FreshFolder("cwd");
    Process vantor = Process::Start(exe, {}, elsewhere);
    ASSERT_TRUE(vantor.Started()) << "CreateProcess error " << vantor.Error();
    std::vector<long long> last;
    int stableFor = 0;
    const bool settled = WaitUntil(
        [&] {
            if (!vantor.Running()) return true;
            const auto sizes = FileSizes(folder);
            stableFor = (!sizes.empty() && sizes == last) ? stableFor + 1 : 0;
            last = sizes;
            return stableFor >= 5;
        },
        30000, 100);
    EXPECT_TRUE(settled) << "vantor.exe neither ended nor wrote its files within 30 s";
    if (vantor.Running()) {
        vantor.Kill();
    } else {
        EXPECT_EQ(vantor.WaitExit(0), std::optional<DWORD>(0));
    }
    EXPECT_TRUE(FileNamesIn(elsewhere).empty()) << "files written into the working folder";
}

std::vector<std::string> WithExe(std::vector<std::string> names) {
    names.push_back("vantor.exe");
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FirstStart, EmptyFolderGetsTheDefaultFilesByteForByte) {
    // Plain, with a blank, and with Cyrillic letters (code page 1251) in the folder's name.
    for (const std::string& name :
         {std::string("plain"), std::string("with blank"), std::string("\xCF\xE0\xEF\xEA\xE0")}) {
        SCOPED_TRACE(Escaped(name));
        const std::string folder = JoinPath(FreshFolder(), name) + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        RunVantorIn(folder);
        EXPECT_EQ(FileNamesIn(folder), WithExe(kProgramFiles));
        for (const auto& file : kProgramFiles) {
            const auto expected = ReadFileBytes(ExpectedDataPath(file));
            ASSERT_TRUE(expected.has_value()) << "no expected data for " << file;
            const auto written = ReadFileBytes(JoinPath(folder, file));
            ASSERT_TRUE(written.has_value()) << file << " was not written";
            EXPECT_EQ(Escaped(*written), Escaped(*expected)) << file;
        }
    }
}

TEST(FirstStart, LaterStartsKeepUserFilesAndOnlyWriteMissingOnes) {
    const std::string folder = FreshFolder();
    RunVantorIn(folder);

    // The user edits every file in odd ways and deletes two of them.
    struct Edit {
        std::string file;
        std::optional<std::string> bytes;  // nullopt: deleted
    };
    const std::vector<Edit> edits = {
        {"Vantor.ini", std::string("[Main]\r\nLanguage=\r\nMessageTime=9")},
        {"Main.ini", std::string("IEFrame|Edit=*.htm*|Maximize\n\n\n")},
        {"Black.ini", std::string(";No files selected\r\n\xCC\xEE\xE9 \xF2\xE5\xEA\xF1\xF2")},
        {"White.ini", std::string("")},
        {"Replace.ini", std::nullopt},
        {"Button.ini", std::string("\x00\xFF\r\r\n", 5)},
        {"Static.ini", std::string(100000, 'x')},
        {"Edit.ini", std::nullopt},
    };
    for (const auto& edit : edits) {
        const std::string path = JoinPath(folder, edit.file);
        if (edit.bytes) {
            ASSERT_TRUE(WriteFileBytes(path, *edit.bytes)) << edit.file;
        } else {
            ASSERT_TRUE(DeleteFileA(path.c_str())) << edit.file;
        }
    }

    RunVantorIn(folder);
    EXPECT_EQ(FileNamesIn(folder), WithExe(kProgramFiles));
    for (const auto& edit : edits) {
        const auto now = ReadFileBytes(JoinPath(folder, edit.file));
        ASSERT_TRUE(now.has_value()) << edit.file;
        const auto expected = edit.bytes ? edit.bytes : ReadFileBytes(ExpectedDataPath(edit.file));
        ASSERT_TRUE(expected.has_value());
        EXPECT_EQ(Escaped(*now), Escaped(*expected)) << edit.file;
    }
}

// Files another program holds open are neither replaced nor cut, and the start still ends
// (or settles) with every other file written.
TEST(FirstStart, FilesHeldOpenByAnotherProgramAreLeftAlone) {
    const std::string folder = FreshFolder();
    struct Held {
        std::string file;
        DWORD access, share;
        std::string bytes;
    };
    const std::vector<Held> held = {
        {"Vantor.ini", GENERIC_READ | GENERIC_WRITE, 0, "[Main]\r\nMessageTime=7"},
        {"Black.ini", GENERIC_WRITE, FILE_SHARE_READ, "being edited"},
        {"Button.ini", GENERIC_READ, FILE_SHARE_READ, "MyButton"},
    };
    std::vector<HANDLE> handles;
    for (const auto& h : held) {
        const std::string path = JoinPath(folder, h.file);
        ASSERT_TRUE(WriteFileBytes(path, h.bytes));
        HANDLE handle = CreateFileA(path.c_str(), h.access, h.share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE) << h.file;
        handles.push_back(handle);
    }
    RunVantorIn(folder);
    for (HANDLE handle : handles) CloseHandle(handle);

    EXPECT_EQ(FileNamesIn(folder), WithExe(kProgramFiles));
    for (const auto& h : held) {
        EXPECT_EQ(ReadFileBytes(JoinPath(folder, h.file)), std::optional<std::string>(h.bytes))
            << h.file;
    }
    for (const std::string file : {"Main.ini", "White.ini", "Edit.ini"}) {
        EXPECT_EQ(ReadFileBytes(JoinPath(folder, file)), ReadFileBytes(ExpectedDataPath(file)))
            << file;
    }
}

}  // namespace
}  // namespace vantor::e2e
