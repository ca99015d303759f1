#include "base/profile.h"

#include <optional>

#include "base/file_io.h"
#include "base/profile_text.h"
#include "base/text.h"

namespace vantor {
namespace {

// Blanks as the system's profile parser sees them: tab, LF, VT, FF, CR, space and ^Z.
bool IsProfileBlank(unsigned char c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The API takes C strings: whatever follows a NUL is never seen.
std::string_view UpToNul(std::string_view s) {
    const auto nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

std::string_view TrimBlanks(std::string_view s) {
    return TrimmedView(s, IsProfileBlank);
}

// Names compare with ASCII letters folded only: the system's profile functions on Wine do not
// fold Cyrillic letters, and every name the program uses is ASCII.
unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(static_cast<unsigned char>(a[i])) !=
            FoldAscii(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

enum class LineKind { Section, Key };

// One non-blank line of the file. Offsets are into the file's bytes.
struct Line {
    std::size_t start = 0;       // first byte of the line
    std::size_t contentEnd = 0;  // first line-end byte (or the end of the file)
    std::size_t ownEnd = 0;      // past the line's own CR LF, CR or LF (blank lines excluded)
    LineKind kind = LineKind::Key;
    std::string_view name;                  // section or key name, as compared (cut at a NUL)
    std::optional<std::string_view> value;  // a key's value (cut at a NUL); none without "="
};

// Walks the lines the way the system's parser does; blank lines are skipped.
class LineReader {
  public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    bool Next(Line& line) {
        while (pos_ < bytes_.size()) {
            const std::size_t start = pos_;
            std::size_t end = start;
            while (end < bytes_.size() && !IsLineEnd(bytes_[end])) ++end;
            pos_ = end;
            while (pos_ < bytes_.size() && IsLineEnd(bytes_[pos_])) ++pos_;
            const std::string_view text = TrimBlanks(bytes_.substr(start, end - start));
            if (text.empty()) continue;
            line.start = start;
            line.contentEnd = end;
            line.ownEnd = end;
            if (end < bytes_.size()) {
                line.ownEnd = end + 1;
                if (bytes_[end] == '\r' && end + 1 < bytes_.size() && bytes_[end + 1] == '\n')
                    line.ownEnd = end + 2;
            }
            Classify(text, line);
            return true;
        }
        return false;
    }

  private:
    static void Classify(std::string_view text, Line& line) {
        if (text.front() == '[') {
            const std::size_t close = text.rfind(']');
            if (close != std::string_view::npos) {
                line.kind = LineKind::Section;
                line.name = UpToNul(TrimBlanks(text.substr(1, close - 1)));
                line.value.reset();
                return;
            }
        }
        line.kind = LineKind::Key;
        const std::size_t eq = text.find('=');
        if (eq == std::string_view::npos) {
            line.name = UpToNul(text);
            line.value.reset();
            return;
        }
        line.name = UpToNul(TrimBlanks(text.substr(0, eq)));
        line.value = UpToNul(TrimBlanks(text.substr(eq + 1)));
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Where a key stands in the file, or where its section's lines end.
struct KeyLookup {
    bool sectionFound = false;
    std::optional<Line> key;     // the first line of that name in the first such section
    std::size_t sectionEnd = 0;  // just past the section's last non-blank line and its end
    bool sectionEndHasLineEnd = true;
};

// Keys before the first "[...]" line form a section whose name is empty. Only the first
// section of a name is searched, as the system does.
// utf8Names: the bytes are UTF-8 (after the mark) while section and key are code page 1251, so
// names are converted before they are compared, exactly as a read of the file sees them.
KeyLookup FindKey(std::string_view bytes, std::string_view section, std::string_view key,
                  bool utf8Names = false) {
    auto matches = [utf8Names](std::string_view name, std::string_view wanted) {
        return utf8Names ? SameName(Utf8ToCp1251(name), wanted) : SameName(name, wanted);
    };
    KeyLookup found;
    if (bytes.empty()) return found;  // an empty file has not even the nameless section
    LineReader reader(bytes);
    Line line;
    bool inSection = section.empty();
    bool sectionDone = false;
    found.sectionFound = inSection;
    while (!sectionDone && reader.Next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection) {
                sectionDone = true;
            } else if (matches(line.name, section)) {
                inSection = true;
                found.sectionFound = true;
                found.sectionEnd = line.ownEnd;
                found.sectionEndHasLineEnd = line.ownEnd > line.contentEnd;
            }
            continue;
        }
        if (!inSection) continue;
        found.sectionEnd = line.ownEnd;
        found.sectionEndHasLineEnd = line.ownEnd > line.contentEnd;
        if (!found.key && matches(line.name, key)) {
            found.key = line;
            return found;
        }
    }
    return found;
}

// Copies a value or default into the caller's buffer the way the system does: a matching
// pair of quotes is dropped, and the result holds at most bufferSize - 1 bytes. When the
// quoted text exactly fills the buffer the system drops its last byte too; so do we.
std::string CopyEntry(std::string_view value, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    bool quoted = false;
    if (!value.empty() && (value.front() == '"' || value.front() == '\'') && value.size() > 1 &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::string out(value.substr(0, bufferSize - 1));
    if (quoted && bufferSize >= value.size() && !out.empty()) out.pop_back();
    return out;
}

std::string_view DefaultText(std::string_view def) {
    // Trailing spaces go, but an all-blank default keeps its first byte, as the system's does.
    std::size_t end = def.size();
    while (end > 1 && def[end - 1] == ' ') --end;
    return def.substr(0, end);
}

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The system recognises a byte-order mark at the start of the file; anything else is ANSI.
Encoding DetectEncoding(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return Encoding::Utf8;
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFF\xFE") return Encoding::Utf16Le;
    if (bytes.size() >= 2 && bytes.substr(0, 2) == "\xFE\xFF") return Encoding::Utf16Be;
    return Encoding::Ansi;
}

// The file's text in code page 1251, as the system hands it to an "A" caller. ANSI files are
// used as they are; Unicode ones are converted into storage.
std::string_view TextForReading(std::string_view bytes, std::string& storage) {
    switch (DetectEncoding(bytes)) {
        case Encoding::Utf8:
            storage = Utf8ToCp1251(bytes.substr(3));
            return storage;
        case Encoding::Utf16Le:
            storage = Utf16ToCp1251(bytes.substr(2), false);
            return storage;
        case Encoding::Utf16Be:
            storage = Utf16ToCp1251(bytes.substr(2), true);
            return storage;
        case Encoding::Ansi:
            break;
    }
    return bytes;
}

// Sets the key in a file whose lines are ASCII-compatible: ANSI, or UTF-8 after its mark, in
// which case the new text goes in as UTF-8.
std::string EditLines(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value, bool utf8) {
    const std::string sectionText = utf8 ? Cp1251ToUtf8(section) : std::string(section);
    std::string entry = utf8 ? Cp1251ToUtf8(key) : std::string(key);
    entry.append("=").append(utf8 ? Cp1251ToUtf8(value) : std::string(value));

    const KeyLookup found = FindKey(bytes, section, key, utf8);
    std::string result;
    result.reserve(bytes.size() + sectionText.size() + entry.size() + 8);
    if (found.key) {
        result.append(bytes.substr(0, found.key->start));
        result.append(entry);
        result.append(bytes.substr(found.key->contentEnd));
    } else if (found.sectionFound) {
        result.append(bytes.substr(0, found.sectionEnd));
        if (!found.sectionEndHasLineEnd) result.append("\r\n");
        result.append(entry).append("\r\n");
        result.append(bytes.substr(found.sectionEnd));
    } else {
        result.append(bytes);
        if (!bytes.empty() && !IsLineEnd(bytes.back())) result.append("\r\n");
        result.append("[").append(sectionText).append("]\r\n");
        result.append(entry).append("\r\n");
    }
    return result;
}

}  // namespace

std::optional<std::string> ProfileFindString(std::string_view bytes, std::string_view section,
                                             std::string_view key, std::size_t bufferSize) {
    section = TrimBlanks(UpToNul(section));
    key = TrimBlanks(UpToNul(key));
    std::string storage;
    const KeyLookup found = FindKey(TextForReading(bytes, storage), section, key);
    if (found.key && found.key->value) return CopyEntry(*found.key->value, bufferSize);
    return std::nullopt;
}

std::string ProfileGetString(std::string_view bytes, std::string_view section, std::string_view key,
                             std::string_view def, std::size_t bufferSize) {
    std::optional<std::string> value = ProfileFindString(bytes, section, key, bufferSize);
    return value ? std::move(*value) : CopyEntry(DefaultText(UpToNul(def)), bufferSize);
}

std::int32_t ProfileGetInt(std::string_view bytes, std::string_view section, std::string_view key,
                           std::int32_t def) {
    // The system reads the number through a 30-character buffer, with an empty default.
    const std::string text = ProfileGetString(bytes, section, key, "", 30);
    if (text.empty()) return def;
    return ParseInt(text, NumberForm::kProfile);  // as GetPrivateProfileIntA reads it
}

bool ProfileSetString(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value, std::string& out) {
    if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key)) return false;
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (section.empty() || key.empty() || key.front() == '[' ||
        key.find('=') != std::string_view::npos)
        return false;
    const std::size_t cut = value.find_first_of(std::string_view("\r\n\0", 3));
    if (cut != std::string_view::npos) value = value.substr(0, cut);

    switch (DetectEncoding(bytes)) {
        case Encoding::Ansi:
            out = EditLines(bytes, section, key, value, false);
            return true;
        case Encoding::Utf8:
            // The file stays UTF-8: the names and the value go in converted.
            out = "\xEF\xBB\xBF" + EditLines(bytes.substr(3), section, key, value, true);
            return true;
        case Encoding::Utf16Le:
        case Encoding::Utf16Be:
            break;
    }
    return false;  // a UTF-16 file is the user's own; it is read but never rewritten
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view def, std::size_t bufferSize) const {
    const std::optional<std::string> bytes = ReadWholeFile(path_);
    return ProfileGetString(bytes ? *bytes : std::string_view(), section, key, def, bufferSize);
}

std::int32_t ProfileFile::ReadInt(std::string_view section, std::string_view key,
                                  std::int32_t def) const {
    const std::optional<std::string> bytes = ReadWholeFile(path_);
    return ProfileGetInt(bytes ? *bytes : std::string_view(), section, key, def);
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) const {
    const ProfileEntry entry{key, std::string(value)};
    return WriteStrings(section, std::span<const ProfileEntry>(&entry, 1));
}

bool ProfileFile::WriteStrings(std::string_view section,
                               std::span<const ProfileEntry> entries) const {
    const std::optional<std::string> bytes = ReadWholeFile(path_);
    // A file that is there but cannot be read (held open by an editor, no access) must not be
    // replaced by one that holds only these keys.
    if (!bytes && PathExists(path_)) return false;
    const std::string_view old = bytes ? std::string_view(*bytes) : std::string_view();
    std::string updated(old);
    bool allSet = true;
    for (const ProfileEntry& entry : entries) {
        std::string next;
        if (ProfileSetString(updated, section, entry.key, entry.value, next)) {
            updated = std::move(next);
        } else {
            allSet = false;
        }
    }
    if (bytes && updated == old) return allSet;  // unchanged: leave the file and its time alone
    if (!bytes && updated.empty()) return allSet;
    return ReplaceWholeFile(path_, updated) && allSet;
}

}  // namespace vantor
