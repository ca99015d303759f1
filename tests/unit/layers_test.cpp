// The layer order of src/, read from the include lines themselves: a folder includes only
// itself and the folders below it, and portable code never reaches the platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The one table of the layers: each folder with the folders its files may include.
//   base < lists < lang < forms < watcher < ui < shell, and settings (base only) below ui.
const std::map<std::string, std::vector<std::string>> kMayInclude = {
    {"base", {"base"}},
    {"lists", {"base", "lists"}},
    {"lang", {"base", "lists", "lang"}},
    {"forms", {"base", "lists", "lang", "forms"}},
    {"watcher", {"base", "lists", "lang", "forms", "watcher"}},
    {"settings", {"base", "settings"}},
    {"ui", {"base", "lists", "lang", "forms", "watcher", "settings", "ui"}},
    {"shell", {"base", "lists", "lang", "forms", "watcher", "settings", "ui", "shell"}},
};

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool IsWin32File(const std::string& name) {
    return EndsWith(name, "_win32.h") || EndsWith(name, "_win32.cpp");
}

// Every broken rule as "file:line: rule (include)".
std::vector<std::string> LayerFaults(const fs::path& src) {
    std::vector<std::string> faults;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
        const std::string file = entry.path().lexically_relative(src).generic_string();
        const std::string folder = file.substr(0, file.find('/'));
        const auto allowed = kMayInclude.find(folder);
        const bool portable = !IsWin32File(file);
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            auto fault = [&](const std::string& rule) {
                faults.push_back("src/" + file + ":" + std::to_string(number) + ": " + rule +
                                 " (" + line + ")");
            };
            if (portable && line.rfind("#include <windows.h>", 0) == 0)
                fault("portable code includes <windows.h>");
            if (line.rfind("#include \"", 0) != 0) continue;
            const std::string target = line.substr(10, line.find('"', 10) - 10);
            const std::string to = target.substr(0, target.find('/'));
            if (allowed == kMayInclude.end()) {
                fault("folder " + folder + " is not in the layer table");
            } else if (target.find('/') == std::string::npos) {
                fault("an include names its folder");
            } else if (std::find(allowed->second.begin(), allowed->second.end(), to) ==
                       allowed->second.end()) {
                fault(folder + " may not include " + to);
            }
            if (portable && IsWin32File(target)) fault("portable code includes a _win32 header");
        }
    }
    return faults;
}

TEST(Layers, EveryIncludeKeepsTheLayerOrder) {
    const fs::path src = fs::path(VANTOR_SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::is_directory(src / "base")) << src;
    for (const std::string& fault : LayerFaults(src)) ADD_FAILURE() << fault;
}

}  // namespace
