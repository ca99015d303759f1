#include "forms/shell_open_win32.h"

#include <windows.h>
#include <shellapi.h>

namespace vantor {

void OpenWithShell(const std::string& target, int showCommand) {
    ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, nullptr, showCommand);
}

}  // namespace vantor
