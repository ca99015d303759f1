#include <filesystem>

#include "shell/program_folder.h"

namespace vantor {

std::string RunningExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

}  // namespace vantor
