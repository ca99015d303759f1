// A fresh, empty folder for each test that touches files, removed again afterwards. Its name
// carries the process id and the test's name, so parallel runs (other build folders, ctest -j)
// never share one.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace vantor {

// Bytes this process has read from files so far ("rchar" of /proc/self/io): shows that a
// reader took only the start of a huge file.
inline long long BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string name;
    long long value = 0;
    while (io >> name >> value)
        if (name == "rchar:") return value;
    return -1;
}

class TempFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("vantor-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        folder_ = dir_.string() + "/";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    std::string folder_;  // with its trailing separator
};

}  // namespace vantor
