#include "base/paths.h"

namespace vantor {

namespace {

constexpr std::string_view kSeparators = "\\/";

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && kSeparators.find(path.back()) == std::string_view::npos) {
        const bool slashOnly = folder.find('\\') == std::string_view::npos &&
                               folder.find('/') != std::string_view::npos;
        path.push_back(slashOnly ? '/' : '\\');
    }
    path.append(name);
    return path;
}

std::string_view FolderOf(std::string_view path) {
    const std::size_t last = path.find_last_of(kSeparators);
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string_view FileNameOf(std::string_view path) {
    return path.substr(FolderOf(path).size());
}

std::string_view WithoutExtension(std::string_view path) {
    const std::size_t folder = FolderOf(path).size();
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot < folder ? path : path.substr(0, dot);
}

}  // namespace vantor
