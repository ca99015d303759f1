// Opens a help topic: the help file through WinHelpA when it exists, otherwise the user guide
// beside the program at the topic's anchor (see lang/help.h). Nothing is reported.
#pragma once

#include <windows.h>

#include <string>

namespace vantor {

void OpenHelpTopic(HWND owner, const std::string& helpFile, const std::string& folder,
                   unsigned topic);

}  // namespace vantor
