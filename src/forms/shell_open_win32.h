// Opening a file or an address the way Explorer would: with the program the shell associates
// with it. Nothing waits for that program, and a failure is not reported.
#pragma once

#include <string>

namespace vantor {

// ShellExecuteA with the default verb; `showCommand` is SW_SHOWNORMAL, SW_SHOWMAXIMIZED, ...
void OpenWithShell(const std::string& target, int showCommand);

}  // namespace vantor
