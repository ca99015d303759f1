#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/file_io.h"

namespace vantor {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(out).str();
}

std::optional<std::string> ReadFilePrefix(const std::string& path, std::size_t limit, bool* cut) {
    if (cut) *cut = false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (cut && bytes.size() == limit) *cut = in.peek() != std::char_traits<char>::eof();
    return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    return static_cast<bool>(out);
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    static std::atomic<unsigned> calls{0};
    const std::string temp = path + "." + std::to_string(::getpid()) + "-" +
                             std::to_string(calls.fetch_add(1)) + ".vantor-new";
    if (!WriteWholeFile(temp, bytes)) {
        std::error_code ec;
        std::filesystem::remove(temp, ec);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (!ec) return true;
    std::filesystem::remove(temp, ec);
    return false;
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
    std::error_code ec;
    const bool existed = std::filesystem::exists(path, ec);
    const std::uintmax_t oldSize = existed ? std::filesystem::file_size(path, ec) : 0;
    if (ec) return false;
    bool ok = false;
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        ok = static_cast<bool>(out);
    }
    if (!ok) std::filesystem::resize_file(path, oldSize, ec);  // no half line stays behind
    return ok;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool PathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace vantor
