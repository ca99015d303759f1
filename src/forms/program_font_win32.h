// The one font of every window of the program: "MS Sans Serif", LOGFONT height 10 at 96 DPI
// (the same size in points at any scale), in the system's character set. One font per DPI,
// created at its first call and kept until the process ends. GUI thread.
#pragma once

#include <windows.h>

#include "forms/dpi_scale.h"

namespace vantor {

HFONT ProgramFont(int dpi = kDesignDpi);

}  // namespace vantor
