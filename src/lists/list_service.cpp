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

std::optional<std::string> ListService::ReadNoting(ListKind kind) {
    bool cut = false;
    std::optional<std::string> bytes = ReadListFile(PathOf(kind), &cut);
    std::string& notice = notices_[static_cast<std::size_t>(kind)];
    notice.clear();
    if (cut)
        notice = std::string(ListFileName(kind)) + ": larger than " +
                 std::to_string(kMaxListFileBytes >> 20) +
                 " MiB, only the lines before that were read\r\n";
    return bytes;
}

std::string ListService::JoinedNotices(bool ruleLists) const {
    std::string joined;
    for (ListKind kind : kAllListKinds)
        if (IsRuleList(kind) == ruleLists) joined += LoadNotice(kind);
    return TrimText(joined);
}

std::string ListService::PrepareRuleLists() {
    WriteMissing(true);
    return ReloadRuleLists();
}

std::string ListService::PrepareClassLists() {
    WriteMissing(false);
    for (ListKind kind : kAllListKinds)
        if (!IsRuleList(kind)) {
            const std::optional<std::string> bytes = ReadNoting(kind);
            lists_.Get(kind).Publish(LoadClassList(PathOf(kind), bytes));
        }
    return JoinedNotices(false);
}

bool ListService::Reload(ListKind kind) {
    if (!IsRuleList(kind)) return false;
    const std::string path = PathOf(kind);
    // The time is read before the bytes: a write that comes between them gives a newer time
    // than the one stored, so the next check loads the file again rather than missing it.
    const FileTime time = fileTimes_.LastWriteTime(path);
    std::optional<std::string> bytes = ReadNoting(kind);
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
    ListNotes notes;
    lists_.Get(kind).Publish(LoadRuleList(kind, path, bytes, &notes));
    for (const std::string& note : notes) notices_[static_cast<std::size_t>(kind)] += note + "\r\n";
    loaded_[static_cast<std::size_t>(kind)] = true;
    times_.Set(kind, time);
    return true;
}

std::string ListService::ReloadRuleLists() {
    for (ListKind kind : kAllListKinds)
        if (IsRuleList(kind)) Reload(kind);
    return JoinedNotices(true);
}

ReloadReport ListService::ReloadChangedLists() {
    ReloadReport report;
    for (ListKind kind : kReloadOrder) {
        if (times_.Unchanged(kind, fileTimes_.LastWriteTime(PathOf(kind)))) continue;
        if (Reload(kind)) {
            report.notice += ReloadedLine(kind);
            report.notice += LoadNotice(kind);
        } else {
            report.retry = true;
        }
    }
    report.notice = TrimText(report.notice);
    return report;
}

ListService::AddResult ListService::AddToList(ListKind kind, const std::string& selection) {
    if (!IsRuleList(kind)) return AddResult::kFailed;
    const std::string text = OneLineEntry(selection);
    if (IsUselessEntry(text)) return AddResult::kRefused;
    const std::string path = PathOf(kind);
    // A change of the user's that no check has seen yet must not be hidden by storing the
    // time of our own write: then the time stays, and the next check loads the whole file,
    // the user's change and our line alike.
    const bool userChangePending = !times_.Unchanged(kind, fileTimes_.LastWriteTime(path));
    if (!AppendListEntryToFile(path, text)) return AddResult::kFailed;
    // Only what the file holds goes into memory: a rule that works now must work next run.
    lists_.Get(kind).Append(text);
    if (!userChangePending) times_.Set(kind, fileTimes_.LastWriteTime(path));
    return AddResult::kAdded;
}

}  // namespace vantor
