// The Win32 side of the single-instance check.
#pragma once

#include "shell/single_instance.h"

namespace vantor {

// Runs the check for real. The first instance keeps the named mutex until the process ends.
struct InstanceCheck {
    bool first = false;
    unsigned notice = 0;  // the registered message, 0 when registration failed
};
InstanceCheck CheckSingleInstance();
// Second start: broadcasts the notice with `ownWindow` in lParam while that window's caption
// holds the command line; restores the caption afterwards.
void NotifyRunningInstance(unsigned notice, void* ownWindow);

}  // namespace vantor
