#include "lang/help.h"

#include "base/paths.h"

namespace vantor {

std::string HelpFileOfModule(std::string_view modulePath) {
    return std::string(WithoutExtension(modulePath)) + ".hlp";
}

std::string BuiltInHelpFile(std::string_view folder) {
    return JoinPath(folder, "Vantor.hlp");
}

std::string LanguageHelpFile(std::string_view folder, std::string_view baseName) {
    return JoinPath(folder, "Vantor_" + std::string(baseName) + ".hlp");
}

HelpPlan PlanHelp(std::string_view helpFile, bool helpFileExists, std::string_view folder,
                  bool guideExists, unsigned topic) {
    HelpPlan plan;
    if (helpFileExists) {
        plan.kind = HelpPlan::Kind::kWinHelp;
        plan.file = std::string(helpFile);
    } else if (guideExists) {
        plan.kind = HelpPlan::Kind::kGuide;
        plan.file = JoinPath(folder, kGuideFileName);
        plan.url = FileUrl(plan.file, "topic" + std::to_string(topic));
    }
    return plan;
}

std::string FileUrl(std::string_view windowsPath, std::string_view anchor) {
    std::string url = "file:";
    std::string_view path = windowsPath;
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        url += "//";  // \\server\share\... -> file://server/share/...
        path.remove_prefix(2);
    } else {
        url += "///";
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            url += '/';
        } else if (c <= 32 || c == 127 || c == '%' || c == '#' || c == '?' || c == '"') {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        } else {
            url += ch;
        }
    }
    if (!anchor.empty()) url.append("#").append(anchor);
    return url;
}

}  // namespace vantor
