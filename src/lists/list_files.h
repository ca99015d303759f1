// The seven list files beside the executable: their names, default contents, line format and
// loading into the lists that the engine reads.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/list_store.h"

namespace vantor {

// The four rule lists come first, then the three class lists; the order is also the order in
// which missing files are written at start-up.
enum class ListKind { Main, Black, White, Replace, Button, Static, Edit };
inline constexpr std::size_t kListKindCount = 7;
inline constexpr std::array<ListKind, kListKindCount> kAllListKinds = {
    ListKind::Main,   ListKind::Black,  ListKind::White, ListKind::Replace,
    ListKind::Button, ListKind::Static, ListKind::Edit};

// "Main.ini", "Black.ini", ... exactly as the files are named on disk.
const char* ListFileName(ListKind kind);
bool IsRuleList(ListKind kind);
// The bytes written when the file is missing: code page 1251, CR LF between lines, no line end
// after the last line.
std::string_view DefaultListContent(ListKind kind);

// The lines of a list file: CR LF or a lone CR ends a line, a lone LF stays inside the line,
// a NUL byte ends the text. A line end after the last line adds no empty line.
ListEntries SplitListLines(std::string_view bytes);

// Stored form of a black/white entry: "*text*" without further wildcards becomes "text".
std::string NormalisePattern(std::string_view entry);
// Stored form of an advanced-list entry: each "|" field (or its value after "=") normalised.
std::string NormaliseAdvancedLine(std::string_view entry);

// The most of a list file that is read; a larger file is read up to its last whole line
// within this and the notice says so.
inline constexpr std::size_t kMaxListFileBytes = 16u << 20;

// Lines a load left out and why, for the notice after it ("Main.ini line 12: no window class
// or caption"); empty when every line was fine.
using ListNotes = std::vector<std::string>;

// Blank or a comment to the eye: nothing above a blank, or ";" as the first character above
// a blank. Such a line is never an entry, whatever TABs it holds.
bool LooksBlankOrComment(std::string_view line);
// An advanced-list entry (stored form) whose window part names neither a class nor a
// caption: it would act on every window, so it is never loaded.
bool NamesNoWindow(std::string_view advancedEntry);

// Rule list from the file's bytes (nullopt when the file is missing or unreadable). The kind
// selects the entry normalisation (Main: advanced line, Black/White: pattern, others: none);
// the file name within path selects the built-in defaults merged in after the user's entries.
// Lines left out for a reason the user should hear go to notes.
ListEntries LoadRuleList(ListKind list, std::string_view path,
                         const std::optional<std::string>& fileBytes, ListNotes* notes = nullptr);
// Class list from the file's bytes: upper-cased, defaults merged, sorted for ClassListContains.
ListEntries LoadClassList(std::string_view path, const std::optional<std::string>& fileBytes);

// A list file's bytes, at most kMaxListFileBytes: nullopt when it is missing or cannot be
// read. A larger file gives its lines up to the last line end within the limit (a rule cut
// in half must not act) and cut is set.
std::optional<std::string> ReadListFile(const std::string& path, bool* cut = nullptr);

// Binary search of a loaded class list for the class name, ignoring case.
bool ClassListContains(const ListEntries& classes, std::string_view name);
// Exact, case-sensitive search for an entry equal to text.
bool ListHasEntry(const ListEntries& list, std::string_view text);

// The seven program-wide lists, created once and refilled in place by loads.
class ProgramLists {
  public:
    ListStore& Get(ListKind kind) { return stores_[static_cast<std::size_t>(kind)]; }
    const ListStore& Get(ListKind kind) const { return stores_[static_cast<std::size_t>(kind)]; }
    ListSnapshot Snapshot(ListKind kind) const { return Get(kind).Snapshot(); }

  private:
    std::array<ListStore, kListKindCount> stores_;
};

// folder ends with the path separator; the file name is appended to it.
std::string ListFilePath(const std::string& folder, ListKind kind);
// Appends entry and CR LF at the end of the file, with a CR LF first unless the file is empty
// or already ends with one; a missing file is created. Never loses existing content: when the
// file exists but cannot be read, nothing is written and false is returned; a write that
// fails part way is cut back to the old size.
bool AppendListEntryToFile(const std::string& path, std::string_view entry);

// What "Add to list" stores of a selection: one line (each line break becomes a blank).
std::string OneLineEntry(std::string_view selection);
// A selection that must not become an entry: blank, or nothing but "*" and "?" (it would
// match every message).
bool IsUselessEntry(std::string_view entry);

}  // namespace vantor
