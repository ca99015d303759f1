// Profile (ini) file access over the file's bytes, giving the same results as
// GetPrivateProfileStringA / GetPrivateProfileIntA on a code page 1251 system, and a writer
// that edits the one key in place and keeps every other byte of the user's file.
//
// Reading rules (all byte-exact):
// - Lines end at any run of CR and LF bytes (CR LF, LF only, CR only, blank lines).
// - Blanks are the bytes 0x09..0x0D, 0x1A and 0x20; they are trimmed around lines, section
//   names, key names and before a value.
// - "[name]": a line whose first non-blank byte is "[" and which holds a "]"; the name runs
//   to the LAST "]" of the line and is trimmed. A "[" line without "]" is an ordinary line.
// - Other lines: the key name is the text before the first "=" (trimmed), the value what
//   follows (leading blanks skipped). A line without "=" is a key without a value: it reads
//   as the default and hides a later line of the same key. ";" lines are keys like any other
//   (named ";..."), so they never match a name that does not begin with ";".
// - Section and key names compare with the ASCII letters A-Z and a-z taken as equal; other bytes
//   (Cyrillic letters included) must match exactly, as with the system's functions on Wine.
// - Only the FIRST section of a name is searched; a key repeated in it: the first one wins.
//   Keys before the first section form a section with the empty name.
// - A NUL byte ends a name or value where it stands (the system works with C strings).
// - A value that begins and ends with the same quote (" or ') longer than one byte loses the
//   pair. The default loses trailing spaces and, like a value, a quote pair.
// - The result is cut to bufferSize - 1 bytes; bufferSize 0 gives "". A quoted value that
//   exactly fills the buffer loses one more byte, as on the system.
// - A file that begins with a UTF-8 or UTF-16 byte-order mark is read as that Unicode form and
//   its text handed back in code page 1251 (a best-fit byte or "?" for characters the code
//   page lacks).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantor {

// Characters in the buffer the program reads text keys into (the result holds at most 4095).
inline constexpr std::size_t kProfileBufferSize = 4096;

// GetPrivateProfileStringA(section, key, def, buffer, bufferSize) over the file's bytes.
// A missing file reads like an empty one: pass "".
std::string ProfileGetString(std::string_view bytes, std::string_view section, std::string_view key,
                             std::string_view def, std::size_t bufferSize = kProfileBufferSize);

// The value of section/key as ProfileGetString reads it, or nothing when the key is missing
// (or written without "="): a key present with an empty value gives "". A language file
// tells its missing keys from its empty ones this way.
std::optional<std::string> ProfileFindString(std::string_view bytes, std::string_view section,
                                             std::string_view key,
                                             std::size_t bufferSize = kProfileBufferSize);

// GetPrivateProfileIntA(section, key, def): def when the key is missing or its value is empty;
// otherwise the value read as a number: leading bytes <= 32 skipped, an optional sign, "0x"
// (hex), "0o" (octal) or "0b" (binary) prefix, digits up to the first other byte, 32-bit
// wrap-around ("true" reads 0, "12abc" reads 12, "0x1F" reads 31, "-1" reads -1).
std::int32_t ProfileGetInt(std::string_view bytes, std::string_view section, std::string_view key,
                           std::int32_t def);

// The file's bytes with section/key set to value, as WritePrivateProfileStringA does on
// Windows: the key's line is rewritten as key=value (keeping its own line end); a missing key
// goes after the last non-blank line of the section; a missing section is appended as
// "[section]" CR LF "key=value" CR LF (after a CR LF that ends an unterminated last line).
// Every other byte stays. The value is cut at its first CR, LF or NUL so that it cannot add
// lines. Returns false (and leaves out untouched) when the names cannot be written so as to
// read back: a blank section or key, a key that begins with "[" or holds "=", or a name
// holding CR, LF or NUL. A UTF-8 file (with its mark) gets the new text in UTF-8; a UTF-16
// file is never rewritten (false).
bool ProfileSetString(std::string_view bytes, std::string_view section, std::string_view key,
                      std::string_view value, std::string& out);

struct ProfileEntry {
    std::string_view key;
    std::string value;
};

// A profile file bound to a path. Every call reads the file afresh; every write goes straight
// to the disk. Nothing is cached.
class ProfileFile {
  public:
    explicit ProfileFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def,
                           std::size_t bufferSize = kProfileBufferSize) const;
    std::int32_t ReadInt(std::string_view section, std::string_view key, std::int32_t def) const;
    // False when nothing was written: bad names, a file that exists but cannot be read (it is
    // left as it is rather than replaced by one holding only this key), or a failed write.
    // Writing the value a key already has leaves the file untouched and returns true.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    // Several keys of one section in their order, with one read and at most one replace of
    // the file: the same bytes as one WriteString after another. False when any key could
    // not be written (the others still are) or the file was not written.
    bool WriteStrings(std::string_view section, std::span<const ProfileEntry> entries) const;

  private:
    std::string path_;
};

}  // namespace vantor
