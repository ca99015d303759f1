// The Win32 side of the single-instance check.
#pragma once

#include "shell/instance_command.h"
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
// A start with one of the steering words: hands it to the running instance, waits for the
// answer (5 s at most; for "exit" then up to 10 s for the instance to end) and gives the
// exit code. Creates no window and no file.
int RunInstanceCommand(InstanceCommand command);

}  // namespace vantor
