#include "lists/list_files.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "base/file_io.h"
#include "base/paths.h"
#include "base/text.h"

namespace vantor {
namespace {

bool IsCommentLine(std::string_view line) {
    return !line.empty() && line.front() == ';';
}

// The line as the eye reads it: blanks, TABs and other control characters in front dropped.
std::string_view SeenFrom(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= 32) ++i;
    return line.substr(i);
}

void TabsToBars(std::string& line) {
    std::replace(line.begin(), line.end(), '\t', '|');
}

std::string NormaliseRuleEntry(ListKind list, std::string_view entry) {
    switch (list) {
        case ListKind::Main:
            return NormaliseAdvancedLine(entry);
        case ListKind::Black:
        case ListKind::White:
            return NormalisePattern(entry);
        default:
            return std::string(entry);
    }
}

// The file whose defaults apply: the last of the candidates whose name the path contains.
std::optional<ListKind> DefaultsFor(std::string_view path, std::initializer_list<ListKind> kinds) {
    std::optional<ListKind> chosen;
    for (ListKind kind : kinds)
        if (PosNoCase(ListFileName(kind), path, 1) > 0) chosen = kind;
    return chosen;
}

// Default content is split at CR LF only; it holds no other line ends.
ListEntries DefaultLines(std::optional<ListKind> kind) {
    ListEntries lines;
    if (!kind) return lines;
    std::string_view rest = DefaultListContent(*kind);
    for (;;) {
        const std::size_t end = rest.find("\r\n");
        lines.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 2);
    }
    return lines;
}

bool ListHasCommentFor(const ListEntries& comments, const std::string& line) {
    for (const std::string& c : comments) {
        if (c.size() == line.size() + 1 && c[0] == ';' && c.compare(1, line.size(), line) == 0)
            return true;
        if (c.size() == line.size() + 2 && c[0] == ';' && c[1] == ' ' &&
            c.compare(2, line.size(), line) == 0)
            return true;
    }
    return false;
}

// "Ignoring case": a file line equal to the class name, or to it commented out with ";"/"; ".
bool ClassLineCovers(std::string_view fileLine, std::string_view upperName) {
    if (SameTextNoCase(fileLine, upperName)) return true;
    if (fileLine.size() == upperName.size() + 1 && fileLine[0] == ';')
        return SameTextNoCase(fileLine.substr(1), upperName);
    if (fileLine.size() == upperName.size() + 2 && fileLine[0] == ';' && fileLine[1] == ' ')
        return SameTextNoCase(fileLine.substr(2), upperName);
    return false;
}

// Byte order of the upper-cased name against a stored (already upper-case) class entry.
int CompareUpper(std::string_view entry, std::string_view name) {
    const std::size_t n = std::min(entry.size(), name.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char a = static_cast<unsigned char>(entry[i]);
        const unsigned char b = Upper1251(static_cast<unsigned char>(name[i]));
        if (a != b) return a < b ? -1 : 1;
    }
    if (entry.size() == name.size()) return 0;
    return entry.size() < name.size() ? -1 : 1;
}

}  // namespace

bool IsRuleList(ListKind kind) {
    return kind == ListKind::Main || kind == ListKind::Black || kind == ListKind::White ||
           kind == ListKind::Replace;
}

ListEntries SplitListLines(std::string_view bytes) {
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    ListEntries lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t cr = bytes.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, cr - start));
        start = cr + 1;
        if (start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return lines;
}

std::string NormalisePattern(std::string_view entry) {
    if (!entry.empty() && entry.front() == '*' && entry.back() == '*') {
        const std::string_view inner =
            entry.size() <= 2 ? std::string_view() : entry.substr(1, entry.size() - 2);
        if (inner.find_first_of("*?") == std::string_view::npos) return std::string(inner);
    }
    return std::string(entry);
}

std::string NormaliseAdvancedLine(std::string_view entry) {
    std::string out;
    out.reserve(entry.size());
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = entry.find('|', start);
        const std::string_view field = entry.substr(
            start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        const std::size_t eq = field.find('=');
        if (eq == std::string_view::npos) {
            out += NormalisePattern(field);
        } else {
            out.append(field.substr(0, eq + 1));
            out += NormalisePattern(field.substr(eq + 1));
        }
        if (bar == std::string_view::npos) break;
        out += '|';
        start = bar + 1;
    }
    return out;
}

bool LooksBlankOrComment(std::string_view line) {
    const std::string_view seen = SeenFrom(line);
    return seen.empty() || seen.front() == ';';
}

bool NamesNoWindow(std::string_view entry) {
    const std::string_view window = entry.substr(0, entry.find('|'));
    const std::size_t eq = window.find('=');
    const std::string_view cls = window.substr(0, eq);
    const std::string_view caption =
        eq == std::string_view::npos ? std::string_view() : window.substr(eq + 1);
    // A caption of stars alone matches every caption, the empty one included.
    return IsBlank(cls) &&
           (IsBlank(caption) || caption.find_first_not_of('*') == std::string_view::npos);
}

ListEntries LoadRuleList(ListKind list, std::string_view path,
                         const std::optional<std::string>& fileBytes, ListNotes* notes) {
    ListEntries lines = fileBytes ? SplitListLines(*fileBytes) : ListEntries();
    ListEntries entries;
    ListEntries comments;  // dropped comment lines as seen, TABs already turned into "|"
    entries.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        // Before any TAB becomes "|": a line of TABs, or a TAB-indented comment, must never
        // turn into a rule that matches every window.
        if (LooksBlankOrComment(line)) {
            std::string comment(SeenFrom(line));
            if (!comment.empty()) {
                TabsToBars(comment);
                comments.push_back(std::move(comment));
            }
            continue;
        }
        TabsToBars(line);
        std::string entry = NormaliseRuleEntry(list, line);
        if (list == ListKind::Main && NamesNoWindow(entry)) {
            if (notes)
                notes->push_back(std::string(ListFileName(list)) + " line " +
                                 std::to_string(i + 1) + ": no window class or caption");
            continue;
        }
        entries.push_back(std::move(entry));
    }

    const std::optional<ListKind> defaults =
        DefaultsFor(path, {ListKind::Main, ListKind::Black, ListKind::White, ListKind::Replace});
    for (std::string& line : DefaultLines(defaults)) {
        TabsToBars(line);
        std::string entry = NormaliseRuleEntry(list, line);
        if (IsBlank(entry) || IsCommentLine(entry)) continue;
        if (ListHasEntry(entries, entry) || ListHasCommentFor(comments, entry)) continue;
        entries.push_back(std::move(entry));
    }
    return entries;
}

ListEntries LoadClassList(std::string_view path, const std::optional<std::string>& fileBytes) {
    ListEntries lines = fileBytes ? SplitListLines(*fileBytes) : ListEntries();
    const std::optional<ListKind> defaults =
        DefaultsFor(path, {ListKind::Button, ListKind::Static, ListKind::Edit});
    for (const std::string& line : DefaultLines(defaults)) {
        std::string name = UpperCase1251(line);
        if (IsBlank(name) || IsCommentLine(name)) continue;
        bool covered = false;
        for (std::size_t i = 0; i < lines.size() && !covered; ++i)
            covered = ClassLineCovers(lines[i], name);
        if (!covered) lines.push_back(std::move(name));
    }

    ListEntries classes;
    classes.reserve(lines.size());
    for (const std::string& line : lines)
        if (!LooksBlankOrComment(line)) classes.push_back(UpperCase1251(line));
    std::sort(classes.begin(), classes.end());
    return classes;
}

bool ClassListContains(const ListEntries& classes, std::string_view name) {
    auto it = std::lower_bound(classes.begin(), classes.end(), name,
                               [](const std::string& entry, std::string_view key) {
                                   return CompareUpper(entry, key) < 0;
                               });
    return it != classes.end() && CompareUpper(*it, name) == 0;
}

bool ListHasEntry(const ListEntries& list, std::string_view text) {
    return std::find(list.begin(), list.end(), text) != list.end();
}

std::string ListFilePath(const std::string& folder, ListKind kind) {
    return JoinPath(folder, ListFileName(kind));
}

std::optional<std::string> ReadListFile(const std::string& path, bool* cut) {
    bool larger = false;
    std::optional<std::string> bytes = ReadFilePrefix(path, kMaxListFileBytes, &larger);
    if (bytes && larger) {
        const std::size_t end = bytes->rfind('\r');
        bytes->resize(end == std::string::npos ? 0 : end);
    }
    if (cut) *cut = bytes && larger;
    return bytes;
}

std::string OneLineEntry(std::string_view selection) {
    std::string line;
    line.reserve(selection.size());
    for (std::size_t i = 0; i < selection.size(); ++i) {
        const char c = selection[i];
        if (c == '\r' && i + 1 < selection.size() && selection[i + 1] == '\n') continue;
        line += c == '\r' || c == '\n' ? ' ' : c;
    }
    return line;
}

bool IsUselessEntry(std::string_view entry) {
    for (char c : entry)
        if (static_cast<unsigned char>(c) > 32 && c != '*' && c != '?') return false;
    return true;
}

bool AppendListEntryToFile(const std::string& path, std::string_view entry) {
    std::string tail;
    if (PathExists(path)) {
        std::optional<std::string> old = ReadWholeFile(path);
        if (!old) return false;  // held by another program: never write to what we could not read
        if (!old->empty() && !(old->size() >= 2 && old->compare(old->size() - 2, 2, "\r\n") == 0))
            tail = "\r\n";  // the new text begins a line of its own
    }
    tail.append(entry);
    tail += "\r\n";
    // Appending in place never puts the existing lines at risk, whatever happens mid-write.
    return AppendToFile(path, tail);
}

}  // namespace vantor
