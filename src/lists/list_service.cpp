#include "lists/list_service.h"

#include <utility>

#include "base/file_io.h"
#include "base/text.h"

namespace vantor {
namespace {

const char* ReloadedLine(ListKind kind) {
    switch (kind) {
        case ListKind::Black:
            return "Reloaded black list.\r\n";
        case ListKind::White:
            return "Reloaded white list.\r\n";
        case ListKind::Main:
            return "Reloaded main list.\r\n";
        default:
            return "Reloaded replace list.\r\n";
    }
}

}  // namespace

ListService::ListService(std::string folder, ProgramLists& lists, FileTimes& times)
    : folder_(std::move(folder)), lists_(lists), fileTimes_(times) {}

void ListService::WriteMissing(bool ruleLists) {
    for (ListKind kind : kAllListKinds) {
        if (IsRuleList(kind) != ruleLists) continue;
        const std::string path = PathOf(kind);
        if (PathExists(path)) continue;
        (void)WriteWholeFile(path, std::string(DefaultListContent(kind)));  // not reported
    }
}

void ListService::PrepareRuleLists() {
    WriteMissing(true);
    ReloadRuleLists();
}

void ListService::PrepareClassLists() {
    WriteMissing(false);
    for (ListKind kind : kAllListKinds)
        if (!IsRuleList(kind)) {
            const std::string path = PathOf(kind);
            lists_.Get(kind).Publish(LoadClassList(path, ReadWholeFile(path)));
        }
}

bool ListService::Reload(ListKind kind) {
    if (!IsRuleList(kind)) return false;
    const std::string path = PathOf(kind);
    // The time is read before the bytes: a write that comes between them gives a newer time
    // than the one stored, so the next check loads the file again rather than missing it.
    const FileTime time = fileTimes_.LastWriteTime(path);
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes && PathExists(path)) {
        // Its writer (an editor saving it) still holds it. Emptying the user's list down to
        // the built-in entries until the next save would close messages the user wants
        // kept; the list stays and the next check reads the file again. A list not loaded
        // yet gets the built-in entries meanwhile.
        if (!loaded_[static_cast<std::size_t>(kind)])
            lists_.Get(kind).Publish(LoadRuleList(kind, path, std::nullopt));
        loaded_[static_cast<std::size_t>(kind)] = true;
        times_.Forget(kind);
        return false;
    }
    lists_.Get(kind).Publish(LoadRuleList(kind, path, bytes));
    loaded_[static_cast<std::size_t>(kind)] = true;
    times_.Set(kind, time);
    return true;
}

void ListService::ReloadRuleLists() {
    for (ListKind kind : kAllListKinds)
        if (IsRuleList(kind)) Reload(kind);
}

ReloadReport ListService::ReloadChangedLists() {
    ReloadReport report;
    for (ListKind kind : kReloadOrder) {
        if (times_.Unchanged(kind, fileTimes_.LastWriteTime(PathOf(kind)))) continue;
        if (Reload(kind)) {
            report.notice += ReloadedLine(kind);
        } else {
            report.retry = true;
        }
    }
    report.notice = TrimText(report.notice);
    return report;
}

bool ListService::AddToList(ListKind kind, const std::string& text) {
    if (!IsRuleList(kind)) return false;
    lists_.Get(kind).Append(text);
    const std::string path = PathOf(kind);
    // A change of the user's that no check has seen yet must not be hidden by storing the
    // time of our own write: then the time stays, and the next check loads the whole file,
    // the user's change and our line alike.
    const bool userChangePending = !times_.Unchanged(kind, fileTimes_.LastWriteTime(path));
    if (!AppendListEntryToFile(path, text)) return false;
    if (!userChangePending) times_.Set(kind, fileTimes_.LastWriteTime(path));
    return true;
}

}  // namespace vantor
