#include "watcher/window_readings.h"

#include <memory>
#include <new>
#include <optional>

#include "base/text.h"
#include "lists/list_files.h"

namespace vantor {

std::string EscapeControlChars(std::string_view className) {
    bool plain = true;
    for (char ch : className) plain = plain && static_cast<unsigned char>(ch) >= 0x20;
    if (plain) return std::string(className);
    std::string out;
    out.reserve(className.size());
    for (char ch : className) {
        const auto code = static_cast<unsigned char>(ch);
        if (code < 0x20) {
            out += '#';
            out += IntText(code);
        } else {
            out += ch;
        }
    }
    return out;
}

std::string NormaliseLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char ch = text[i];
        if (ch == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += "\r\n";
        } else if (ch == '\r' && (i + 1 == n || text[i + 1] != '\n')) {
            out += "\r\n";
        } else {
            out += ch;
        }
    }
    return out;
}

std::string RemoveAcceleratorMarks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // The first ampersand of each run marks the accelerator; the rest are literal.
        if (text[i] == '&' && (i == 0 || text[i - 1] != '&')) continue;
        out += text[i];
    }
    return out;
}

std::string RemoveListingAmpersands(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') continue;
        out += text[i];
    }
    return out;
}

std::string EscapeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        if (ch == '\r') {
            out += "#13";
        } else if (ch == '\n') {
            out += "#10";
        } else {
            out += ch;
        }
    }
    return out;
}

std::string UnescapeLineBreaks(std::string_view text) {
    return ReplaceAll(ReplaceAll(text, "#13", "\r", true), "#10", "\n", true);
}

std::string WindowClassName(WindowSystem& ws, WindowHandle window) {
    std::string name = ws.ClassName(window);
    if (name.size() > 254) name.resize(254);
    const auto nul = name.find('\0');
    if (nul != std::string::npos) name.resize(nul);
    for (char ch : name) {
        if (static_cast<unsigned char>(ch) < 0x20) return EscapeControlChars(name);
    }
    return name;
}

std::string WindowCaption(WindowSystem& ws, WindowHandle window) {
    std::string text = ws.WindowText(window);
    if (text.size() > 1023) text.resize(1023);
    // Most captions hold no line break and no ampersand: nothing to rewrite.
    for (char ch : text) {
        if (ch == '\r' || ch == '\n' || ch == '&') {
            return RemoveAcceleratorMarks(NormaliseLineBreaks(text));
        }
    }
    return text;
}

namespace {

// The control's text, at most maxBytes. With `paced`, a control that takes longer than
// kSlowAnswerMs to tell its length is not asked for the text (nullopt), and `slow` tells
// whether either answer took that long.
std::optional<std::string> ReadControlText(WindowSystem& ws, WindowHandle window,
                                           std::size_t maxBytes, bool paced, bool& slow) {
    const std::uint32_t asked = ws.TickCount();
    const std::int64_t reported = ws.TextLength(window);
    slow = ws.TickCount() - asked > kSlowAnswerMs;
    if (paced && slow) return std::nullopt;
    if (reported <= 0 || maxBytes == 0) return std::string();
    // A control may report anything; read no more than the cap, and an allocation that
    // fails reads as empty rather than ending the program.
    if (maxBytes > kMaxControlText) maxBytes = kMaxControlText;
    const std::size_t n = reported > static_cast<std::int64_t>(maxBytes)
                              ? maxBytes
                              : static_cast<std::size_t>(reported);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[n + 1]());
    if (!buffer) return std::string();
    const std::uint32_t read = ws.TickCount();
    const std::int64_t copied = ws.ReadText(window, buffer.get(), n + 1);
    slow = slow || ws.TickCount() - read > kSlowAnswerMs;
    if (copied < 0) return std::string();
    // The length may have shrunk since it was asked: stop at the first NUL the control left.
    std::size_t len = 0;
    while (len < n && buffer[len] != '\0') ++len;
    return std::string(buffer.get(), len);
}

}  // namespace

std::string ControlText(WindowSystem& ws, WindowHandle window) {
    bool slow = false;
    return *ReadControlText(ws, window, kMaxControlText, false, slow);
}

ChildListing ListChildren(WindowSystem& ws, WindowHandle root, WindowHandle start) {
    // Descend along the chain of first children. Depth is bounded against a window tree that
    // changes under our feet; breadth, text and time by the listing's caps.
    constexpr int kMaxDepth = 1024;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const WindowHandle child = ws.FirstChild(start);
        if (child == 0) break;
        start = child;
    }
    ChildListing out;
    if (start == root) return out;
    const std::uint32_t began = ws.TickCount();
    std::size_t textLeft = kMaxListingText;
    for (WindowHandle w = start; w != 0 && out.children.size() < kMaxListedChildren && textLeft > 0;
         w = ws.NextSibling(w)) {
        bool slow = false;
        std::optional<std::string> text;
        if (ws.TickCount() - began < kListingBudgetMs) {
            text = ReadControlText(ws, w, textLeft, true, slow);
        }
        if (!text) {
            out.cutShort = true;  // out of time, or this child's length came too late
            break;
        }
        textLeft -= text->size();
        out.children.push_back(
            {w, WindowClassName(ws, w), EscapeLineBreaks(RemoveListingAmpersands(*text))});
        if (slow && ws.NextSibling(w) != 0) {
            out.cutShort = true;
            break;
        }
    }
    return out;
}

WindowHandle FocusedControlOf(WindowSystem& ws, WindowHandle window) {
    return ws.FocusedControlOf(window);
}

}  // namespace vantor

namespace vantor {

bool IsListedClass(const ListEntries& classes, std::string_view name) {
    return ClassListContains(classes, UpperCase1251(name));
}

bool IsInputClass(std::string_view name) {
    // Upper case; the system's names and the stems the frameworks keep after their prefix.
    static constexpr std::string_view kStems[] = {
        "COMBOBOX",          "COMBOLBOX",     "LISTBOX",           "CHECKLISTBOX",
        "LISTVIEW",          "SYSLISTVIEW32", "TREEVIEW",          "SYSTREEVIEW32",
        "RICHEDIT",          "DATETIMEPICK",  "SYSDATETIMEPICK32", "MONTHCAL",
        "SYSMONTHCAL32",     "UPDOWN",        "MSCTLS_UPDOWN32",   "TRACKBAR",
        "MSCTLS_TRACKBAR32", "IPADDRESS",     "SYSIPADDRESS32",    "HOTKEY",
        "MSCTLS_HOTKEY32"};
    static constexpr std::string_view kPrefixes[] = {"", "T", "WINDOWSFORMS10.", "THUNDERRT6",
                                                     "THUNDER"};
    if (name.empty() || name.size() > 254) return false;
    const std::string upper = UpperCase1251(name);
    const std::string_view n(upper);
    for (std::string_view prefix : kPrefixes) {
        if (!n.starts_with(prefix)) continue;
        const std::string_view rest = n.substr(prefix.size());
        for (std::string_view stem : kStems) {
            if (rest.starts_with(stem)) return true;
        }
    }
    return false;
}

}  // namespace vantor
