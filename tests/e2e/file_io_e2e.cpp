// The Windows file access under the list and settings files: whole-file reads that refuse
// files held open by a writer, whole-file writes that replace or fail cleanly.
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "e2e_support.h"

namespace vantor::e2e {
namespace {

TEST(FileIo, BytesRoundTripExactly) {
    const std::string folder = FreshFolder();
    std::string allBytes;
    for (int c = 0; c < 256; ++c) allBytes += char(c);
    std::string big;
    for (int i = 0; i < 3 * 1024 * 1024 + 17; ++i) big += char('a' + i % 26);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"empty", ""},
        {"crlf", "a\r\nb\rc\nd\r\n"},
        {"every byte", allBytes},
        {"nul inside", std::string("before\0after", 12)},
        {"cp1251", "\xD1\xEF\xE8\xF1\xEE\xEA \xB8\xA8"},
        {"over one read buffer", big},
    };
    for (const auto& [name, bytes] : cases) {
        const std::string path = JoinPath(folder, name + ".bin");
        ASSERT_TRUE(WriteWholeFile(path, bytes)) << name;
        EXPECT_TRUE(FileExists(path)) << name;
        const auto read = ReadWholeFile(path);
        ASSERT_TRUE(read.has_value()) << name;
        EXPECT_EQ(read->size(), bytes.size()) << name;
        EXPECT_TRUE(*read == bytes) << name;
        // What the test helper (plain Win32) reads agrees.
        EXPECT_TRUE(ReadFileBytes(path) == bytes) << name;
    }
}

TEST(FileIo, WriteReplacesTheWholeOldContent) {
    const std::string path = JoinPath(FreshFolder(), "Black.ini");
    ASSERT_TRUE(WriteWholeFile(path, std::string(5000, 'o')));
    ASSERT_TRUE(WriteWholeFile(path, "new"));
    EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>("new"));
    // Another start replacing the same file at this moment holds its own temporary file
    // (here: the name once shared by every start, held without sharing): no one is in the way.
    HANDLE other = CreateFileA((path + ".vantor-new").c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ReplaceWholeFile(path, "replaced"));
    CloseHandle(other);
    EXPECT_EQ(ReadWholeFile(path), std::optional<std::string>("replaced"));
}

TEST(FileIo, MissingFilesAndFolders) {
    const std::string folder = FreshFolder();
    EXPECT_FALSE(FileExists(JoinPath(folder, "none.ini")));
    EXPECT_EQ(ReadWholeFile(JoinPath(folder, "none.ini")), std::nullopt);
    EXPECT_FALSE(WriteWholeFile(JoinPath(folder, "no folder\\x.ini"), "x"));
    EXPECT_FALSE(FileExists(JoinPath(folder, "no folder\\x.ini")));
    // A folder is no file: neither there as one nor to be read, but it is in the way.
    EXPECT_FALSE(FileExists(folder));
    EXPECT_TRUE(PathExists(folder));
    EXPECT_EQ(ReadWholeFile(folder), std::nullopt);
}

// Another program that holds a file open decides what we may do with it.
TEST(FileIo, FilesHeldOpenByAnotherHandle) {
    const std::string folder = FreshFolder();
    struct Case {
        const char* what;
        DWORD access;
        DWORD share;
        bool readable;  // our shared-for-reading open succeeds
        bool writable;  // our exclusive create succeeds
    };
    const std::vector<Case> cases = {
        {"reader sharing reads", GENERIC_READ, FILE_SHARE_READ, true, false},
        {"reader sharing everything", GENERIC_READ,
         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true, false},
        {"writer sharing reads", GENERIC_WRITE, FILE_SHARE_READ, false, false},
        {"writer sharing everything", GENERIC_WRITE,
         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, false, false},
        {"exclusive reader", GENERIC_READ, 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = JoinPath(folder, std::string(c.what) + ".ini");
        ASSERT_TRUE(WriteFileBytes(path, "user text"));
        HANDLE other = CreateFileA(path.c_str(), c.access, c.share, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        const auto read = ReadWholeFile(path);
        EXPECT_EQ(read.has_value(), c.readable);
        if (read) {
            EXPECT_EQ(*read, "user text");
        }
        EXPECT_EQ(WriteWholeFile(path, "replaced"), c.writable);
        CloseHandle(other);
        // A refused write must not have cut the user's file.
        EXPECT_EQ(ReadWholeFile(path),
                  std::optional<std::string>(c.writable ? "replaced" : "user text"));
    }
}

}  // namespace
}  // namespace vantor::e2e
