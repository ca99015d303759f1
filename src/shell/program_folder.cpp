#include "shell/program_folder.h"

#include "lists/file_io.h"
#include "shell/settings.h"

namespace vantor {

std::string ProgramFolderOf(std::string_view executablePath) {
    const size_t last = executablePath.find_last_of("\\/");
    if (last == std::string_view::npos) return "";
    return std::string(executablePath.substr(0, last + 1));
}

void PrepareSettingsFile(const std::string& folder) {
    (void)WriteDefaultSettingsIfMissing(folder);  // a failed write leaves every key at its default
}

namespace {

void WriteIfMissing(const std::string& folder, ListKind kind) {
    const std::string path = ListFilePath(folder, kind);
    if (FileExists(path)) return;
    (void)WriteWholeFile(path, std::string(DefaultListContent(kind)));  // failure not reported
}

}  // namespace

void PrepareRuleLists(const std::string& folder, ProgramLists& lists) {
    for (ListKind kind : kAllListKinds) {
        if (IsRuleList(kind)) WriteIfMissing(folder, kind);
    }
    for (ListKind kind : kAllListKinds) {
        if (IsRuleList(kind)) LoadRuleList(ListFilePath(folder, kind), kind, lists.Get(kind));
    }
}

void PrepareClassLists(const std::string& folder, ProgramLists& lists) {
    for (ListKind kind : kAllListKinds) {
        if (!IsRuleList(kind)) WriteIfMissing(folder, kind);
    }
    for (ListKind kind : kAllListKinds) {
        if (!IsRuleList(kind)) LoadClassList(ListFilePath(folder, kind), lists.Get(kind));
    }
}

void PrepareProgramFolder(const std::string& folder, ProgramLists& lists) {
    PrepareSettingsFile(folder);
    PrepareRuleLists(folder, lists);
    PrepareClassLists(folder, lists);
}

}  // namespace vantor
