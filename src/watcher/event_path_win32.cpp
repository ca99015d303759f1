#include "watcher/event_path_win32.h"

namespace vantor {

EventPath::EventPath(Win32WindowSystem& ws, Scanner& scanner)
    : ws_(ws), scanner_(scanner), wake_([this] { OnWake(); }) {
    ws_.SetTopLevelListener(this);
}

EventPath::~EventPath() {
    ws_.SetTopLevelListener(nullptr);
    Stop();
}

void EventPath::Start() {
    scanner_.NewWindows().Clear();
    wake_.Enable();
    on_ = true;
}

void EventPath::Stop() {
    on_ = false;
    wake_.Disable();
    scanner_.NewWindows().Clear();
}

void EventPath::OnTopLevelWindow(WindowHandle window, std::uint32_t now) {
    if (!on_) return;
    if (scanner_.NewWindows().Add(window, now)) {
        wake_.ArmWithin(NewWindowWatch::kYoungStepMs / 2);
    }
}

void EventPath::OnWake() {
    if (const auto next = scanner_.LookAtNewWindows()) wake_.ArmWithin(*next);
}

}  // namespace vantor
