// The one font of every window of the program: "MS Sans Serif", LOGFONT height 10, in the
// system's character set. Created at the first call, kept until the process ends.
#pragma once

#include <windows.h>

namespace vantor {

HFONT ProgramFont();

}  // namespace vantor
