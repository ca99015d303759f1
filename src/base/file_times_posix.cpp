#include <chrono>
#include <filesystem>

#include "base/file_times.h"

namespace vantor {
namespace {

class PosixFileTimes : public FileTimes {
  public:
    FileTime LastWriteTime(const std::string& path) override {
        std::error_code ec;
        const auto time = std::filesystem::last_write_time(path, ec);
        if (ec) return 0;
        // Any fixed epoch will do here: times are only compared with each other. Shifted so
        // that a time before the clock's epoch stays above 0, which means "unreadable".
        using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;  // 100 ns
        const auto ticks = std::chrono::duration_cast<Ticks>(time.time_since_epoch()).count();
        return static_cast<FileTime>(ticks) + (FileTime{1} << 62);
    }
};

}  // namespace

FileTimes& SystemFileTimes() {
    static PosixFileTimes times;
    return times;
}

}  // namespace vantor
