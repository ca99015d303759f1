#include "base/file_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace vantor {
namespace {

class FileIoTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = (std::filesystem::temp_directory_path() /
                   ("vantor-file-io-" + std::to_string(getpid())))
                      .string() +
                  "/";
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::size_t EntriesInFolder() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                      std::filesystem::directory_iterator()));
    }
    std::string folder_;
};

TEST_F(FileIoTest, ReplaceAndAppendKeepTheFileWhole) {
    const std::string path = folder_ + "Vantor.ini";
    ASSERT_TRUE(WriteWholeFile(path, "[Main]\r\nA=1"));
    ASSERT_TRUE(ReplaceWholeFile(path, std::string("[Main]\r\nA=2\0x", 13)));
    EXPECT_EQ(ReadWholeFile(path), std::string("[Main]\r\nA=2\0x", 13));
    EXPECT_EQ(EntriesInFolder(), 1u) << "the temporary file must not stay behind";

    ASSERT_TRUE(AppendToFile(path, "\r\nB=3"));
    EXPECT_EQ(ReadWholeFile(path), std::string("[Main]\r\nA=2\0x\r\nB=3", 18));
    ASSERT_TRUE(AppendToFile(folder_ + "New.ini", "x"));
    EXPECT_EQ(ReadWholeFile(folder_ + "New.ini"), "x");
}

TEST_F(FileIoTest, FailuresAreReportedAndTouchNothing) {
    const std::string missingFolder = folder_ + "no-such-folder/Vantor.ini";
    EXPECT_FALSE(ReplaceWholeFile(missingFolder, "x"));
    EXPECT_FALSE(AppendToFile(missingFolder, "x"));
    EXPECT_FALSE(ReadWholeFile(missingFolder).has_value());
    EXPECT_FALSE(FileExists(missingFolder));

    // A folder in the file's place cannot be replaced; it stays as it was.
    const std::string folderAsFile = folder_ + "Black.ini";
    std::filesystem::create_directory(folderAsFile);
    EXPECT_FALSE(ReplaceWholeFile(folderAsFile, "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folderAsFile));
    EXPECT_FALSE(ReadWholeFile(folderAsFile).has_value());
    EXPECT_FALSE(FileExists(folderAsFile)) << "a folder is no file";
    EXPECT_TRUE(PathExists(folderAsFile));
    EXPECT_FALSE(PathExists(missingFolder));
    EXPECT_EQ(EntriesInFolder(), 1u);
}

}  // namespace
}  // namespace vantor
