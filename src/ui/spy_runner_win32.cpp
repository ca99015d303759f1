#include "ui/spy_runner_win32.h"

namespace vantor {

SpyRunner::SpyRunner(WindowSystem& ws, MessageWindow& window, UiTaskQueue& tasks)
    : window_(window), tasks_(tasks), spy_(ws), timer_(50, 0, [this] { Tick(); }) {}

void SpyRunner::Start(const std::string& caption) {
    spy_.SetOwnWindow(reinterpret_cast<WindowHandle>(window_.Window()));
    session_.fetch_add(1);
    stopHandedOver_ = false;
    window_.SetText(std::string(kSpyStartText));
    window_.SetCaption(caption);
    window_.ShowAtCornerKeepingCount();
    timer_.Start();
}

void SpyRunner::Stop() {
    timer_.Stop();
    session_.fetch_add(1);
}

void SpyRunner::Tick() {
    const unsigned session = session_.load();
    // Read without a message to the GUI thread, which may be busy in Exit.
    SpyStep step = spy_.Tick(window_.Shown());
    if (step.action == SpyStep::kStop) {
        // Hidden by any means: the spy ends. The timer is stopped where it was started.
        if (!stopHandedOver_.exchange(true) && !tasks_.Post([this, session] {
                if (session == session_.load()) Stop();
            })) {
            stopHandedOver_ = false;  // the queue was full: the next tick tries again
        }
    } else if (step.action == SpyStep::kShow) {
        tasks_.Post([this, session, text = std::move(step.text)] { Show(session, text); });
    }
}

void SpyRunner::Show(unsigned session, const std::string& text) {
    if (session != session_.load()) return;
    // Hidden since the tick read it (Esc, the tray icon...): the window does not come back;
    // the next tick ends the spy.
    if (!window_.Shown()) return;
    window_.SetText(text);
    window_.ShowAndActivate();
    window_.UpdateScrollBar();
    window_.SetKeepOnTop(false);
}

}  // namespace vantor
