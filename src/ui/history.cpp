#include "ui/history.h"

#include <cstdio>

namespace vantor {
namespace {

// The first line is split at TABs by whoever reads the file: the caption is kept on it.
std::string OneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        if (ch == '\r') {
            out += "#13";
        } else if (ch == '\n') {
            out += "#10";
        } else if (ch == '\t') {
            out += "#9";
        } else {
            out += ch;
        }
    }
    return out;
}

// Each line of the text with a TAB in front, so that an empty line of the text never ends
// the block. CR LF, a lone CR and a lone LF all end a line.
void AppendIndentedLines(std::string& out, std::string_view text) {
    std::size_t pos = 0;
    while (pos <= text.size() && !text.empty()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        out += '\t';
        out.append(text.substr(pos, end == std::string_view::npos ? end : end - pos));
        out += "\r\n";
        if (end == std::string_view::npos) break;
        pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (pos == text.size()) break;
    }
}

}  // namespace

std::string FormatLocalTime(const LocalTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

std::string ProgramFileName(std::string_view imagePath) {
    const std::size_t slash = imagePath.find_last_of("\\/");
    const std::string_view name =
        slash == std::string_view::npos ? imagePath : imagePath.substr(slash + 1);
    return name.empty() ? "?" : OneLine(name);
}

std::string FormatHistoryEntry(const LocalTime& when, std::string_view program,
                               const DoneAction& action) {
    std::string done;
    std::string_view text = action.text;
    switch (action.kind) {
        case DoneAction::kClosed:
            done = "closed";
            break;
        case DoneAction::kClosedNotShown:
            done = "closed, not shown";
            break;
        case DoneAction::kRule: {
            // "Pressed button 'Next'", then an empty line and the child's text.
            const std::size_t end = text.find_first_of("\r\n");
            done = "rule: " + std::string(text.substr(0, end));
            text = end == std::string_view::npos ? std::string_view() : text.substr(end);
            while (!text.empty() && (text.front() == '\r' || text.front() == '\n')) {
                text.remove_prefix(1);
            }
            break;
        }
    }
    std::string out = FormatLocalTime(when) + '\t' + std::string(program) + '\t' + OneLine(done) +
                      '\t' + OneLine(action.caption) + "\r\n";
    AppendIndentedLines(out, text);
    out += "\r\n";
    return out;
}

std::uint64_t HistoryLimitBytes(std::int32_t historyKB) {
    return static_cast<std::uint64_t>(historyKB < 1 ? 1024 : historyKB) * 1024u;
}

bool ShouldRotateHistory(std::uint64_t fileSize, std::size_t entrySize, std::uint64_t limit) {
    return fileSize > 0 && fileSize + entrySize > limit;
}

bool HistoryRepeats::IsRepeat(const DoneAction& action, std::uint32_t now) {
    // The closer itself never closes one message twice: every close it reports is news.
    if (action.kind != DoneAction::kRule) return false;
    const bool same = any_ && action.kind == last_.kind && action.window == last_.window &&
                      action.caption == last_.caption && action.text == last_.text;
    const bool repeat = same && now - at_ < kRepeatMs;
    // A repetition that goes on keeps counting as one until it pauses.
    if (!same) last_ = action;
    at_ = now;
    any_ = true;
    return repeat;
}

}  // namespace vantor
