// The program's one door to its list files: start-up loading, the reload when the user has
// edited a rule list, the second start's reload and the additions from the message window.
// It keeps the stored file times (ListTimes) that tell the program's own writes from the
// user's. GUI thread only; the engine reads the lists through their ListStore snapshots.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "base/file_times.h"
#include "lists/list_files.h"

namespace vantor {

// The stored last-write times of the four rule-list files. A list without a stored time is
// loaded again by the next check.
class ListTimes {
  public:
    void Set(ListKind kind, FileTime time) { times_[Index(kind)] = time; }
    void Forget(ListKind kind) { times_[Index(kind)].reset(); }
    bool Unchanged(ListKind kind, FileTime now) const {
        const auto& stored = times_[Index(kind)];
        return stored && SameFileTime(*stored, now);
    }

  private:
    static std::size_t Index(ListKind kind) { return static_cast<std::size_t>(kind); }
    std::array<std::optional<FileTime>, 4> times_;  // Main, Black, White, Replace
};

// The order in which a check compares the files and reports them.
inline constexpr std::array<ListKind, 4> kReloadOrder = {ListKind::Black, ListKind::White,
                                                         ListKind::Main, ListKind::Replace};

// What one check after a change in the program folder found.
struct ReloadReport {
    // The lines "Reloaded black list." ... of the lists it reloaded, in kReloadOrder, each
    // followed by the lines of its file that were left out and why; joined with CR LF; empty
    // when nothing was reloaded (then nothing is shown).
    std::string notice;
    // A changed file could not be read (its writer still holds it): check again soon.
    bool retry = false;
};

class ListService {
  public:
    // folder ends with the path separator.
    ListService(std::string folder, ProgramLists& lists, FileTimes& times);

    std::string PathOf(ListKind kind) const { return ListFilePath(folder_, kind); }

    // Start-up: each missing file among Main.ini, Black.ini, White.ini and Replace.ini
    // written with its default content, then the four rule lists loaded and their times
    // stored. Existing files are never touched; a failed write is not reported. Gives the
    // notice of lines left out (LoadNotice); empty when every line was fine.
    std::string PrepareRuleLists();
    // Start-up: the same for Button.ini, Static.ini and Edit.ini; these are never reloaded.
    std::string PrepareClassLists();

    // One rule list loaded from its file (a missing file gives the built-in entries) and its
    // time stored. A file that exists but cannot be read leaves the list as it was (the
    // built-in entries when it was never loaded) and its time forgotten, so that the next
    // check tries again; false then.
    bool Reload(ListKind kind);
    // The second start: the four rule lists loaded again, changed or not; the notice of lines
    // left out.
    std::string ReloadRuleLists();
    // What the last load of a list left out, a line each: "Main.ini line 12: no window class
    // or caption", and a file too large to read whole. Empty when every line was fine.
    const std::string& LoadNotice(ListKind kind) const {
        return notices_[static_cast<std::size_t>(kind)];
    }
    // The check after a change notification: every rule list whose file time differs from
    // the stored one is loaded again.
    ReloadReport ReloadChangedLists();

    // "Add to white/black list": the selection as one line (line breaks become blanks),
    // appended first as a line of its own to the end of the file (created when missing),
    // then, once written, to the list in memory; its new time is then stored, so this write
    // is not reported as the user's. kAdded: the caller opens the file for the user.
    // kRefused: blank or only wildcards, which would match every message; nothing written.
    // kFailed: the file could not be written (a partial line is cut back off) or exists but
    // could not be read; file and list stay as they were.
    enum class AddResult { kAdded, kRefused, kFailed };
    AddResult AddToList(ListKind kind, const std::string& selection);

  private:
    void WriteMissing(bool ruleLists);
    // Reads a list file (at most kMaxListFileBytes) and keeps its notice of being cut.
    std::optional<std::string> ReadNoting(ListKind kind);
    std::string JoinedNotices(bool ruleLists) const;

    std::string folder_;
    ProgramLists& lists_;
    FileTimes& fileTimes_;
    ListTimes times_;
    std::array<bool, 4> loaded_ = {};  // Main, Black, White, Replace
    std::array<std::string, kListKindCount> notices_;
};

}  // namespace vantor
