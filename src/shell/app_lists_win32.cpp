// The application's list, spy and link work: the check the folder watch runs after a change
// in the program folder, the additions to the white and black lists from the message window,
// the Spy command, and the quick click that opens an address in the message text.
#include "forms/shell_open_win32.h"
#include "forms/system_error_win32.h"
#include "shell/application_win32.h"

namespace vantor {

void Application::StartListWatch() {
    // Without a watch (the folder cannot be watched) the lists are only reloaded by a
    // second start; nothing is reported.
    listWatch_.Start(folder_, tasks_, [this] { return CheckChangedLists(); });
}

bool Application::CheckChangedLists() {
    // Runs on the GUI thread while the watch's worker waits for it. A write of the settings
    // file or of a class list wakes it too: then no time differs and nothing is shown.
    const ReloadReport report = listService_.ReloadChangedLists();
    if (!report.notice.empty()) ShowNotice(report.notice);
    return report.retry;
}

void Application::AddToList(ListKind kind) {
    // The selection, else the whole text, as one line. The file's new time is stored by the
    // service, so the watch does not report this write as the user's.
    SetLastError(0);
    switch (listService_.AddToList(kind, window_.Area().SelectionOrWholeText())) {
        case ListService::AddResult::kAdded:
            OpenWithShell(listService_.PathOf(kind), SW_SHOWNORMAL);
            return;
        case ListService::AddResult::kRefused:
            ShowNotice(std::string("Not added to ") + ListFileName(kind) +
                       ": the text is blank or only wildcards, which would match every message.");
            return;
        case ListService::AddResult::kFailed: {
            const std::string reason = SystemErrorText(GetLastError());
            ShowNotice("Could not add to " + listService_.PathOf(kind) +
                       (reason.empty() ? ": the file could not be read." : ": " + reason));
            return;
        }
    }
}

void Application::OpenAdvancedList() {
    OpenWithShell(listService_.PathOf(ListKind::Main), SW_SHOWNORMAL);
}

void Application::StartSpy() {
    spy_.Start(texts_.Captions()[Caption::pmSpy]);
}

void Application::OnTextMouse(TextMouse event) {
    switch (event) {
        case TextMouse::kLeftDown:
        case TextMouse::kDoubleClick:
            linkClicks_.Pressed(GetTickCount());
            return;
        case TextMouse::kLeftUp:
            break;
        case TextMouse::kRightDown:
            return;
    }
    if (!linkClicks_.QuickRelease(GetTickCount())) return;
    // A double click has selected the word under the pointer by now.
    const std::string selection = window_.Area().SelectedText();
    window_.SetCaption(OpeningCaption(selection));
    const std::string target = LinkTargetOf(selection);
    if (!target.empty()) OpenWithShell(target, SW_SHOWMAXIMIZED);
    window_.SetCaption(std::string(kProgramCaption));
}

}  // namespace vantor
