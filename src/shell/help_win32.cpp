#include "shell/help_win32.h"

#include <shellapi.h>

#include "base/file_io.h"
#include "base/paths.h"
#include "lang/help.h"

namespace vantor {

void OpenHelpTopic(HWND owner, const std::string& helpFile, const std::string& folder,
                   unsigned topic) {
    const std::string guide = JoinPath(folder, kGuideFileName);
    const HelpPlan plan =
        PlanHelp(helpFile, FileExists(helpFile), folder, FileExists(guide), topic);
    switch (plan.kind) {
        case HelpPlan::Kind::kWinHelp:
            WinHelpA(owner, plan.file.c_str(), HELP_CONTEXT, topic);
            break;
        case HelpPlan::Kind::kGuide: {
            // Opening the file itself would lose the anchor, so the program that opens .html
            // files (the browser) is given the file URL with it.
            char program[MAX_PATH] = {};
            const auto found =
                reinterpret_cast<INT_PTR>(FindExecutableA(plan.file.c_str(), nullptr, program));
            if (found > 32 && program[0]) {
                const std::string url = "\"" + plan.url + "\"";
                ShellExecuteA(owner, nullptr, program, url.c_str(), nullptr, SW_SHOWNORMAL);
            } else {
                ShellExecuteA(owner, nullptr, plan.file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            }
            break;
        }
        case HelpPlan::Kind::kNothing:
            break;
    }
}

}  // namespace vantor
