#include "watcher/probes.h"

#include <memory>
#include <new>

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

std::string HandleText(WindowHandle window) {
    return IntText(static_cast<std::int32_t>(static_cast<std::uint32_t>(window)));
}

WindowHandle HandleFromText(std::string_view text) {
    // Handles are 32-bit values sign-extended to the pointer width, as the platform does.
    return static_cast<WindowHandle>(static_cast<std::intptr_t>(ParseInt(text)));
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

std::string ControlText(WindowSystem& ws, WindowHandle window) {
    const std::int64_t reported = ws.TextLength(window);
    if (reported <= 0) return {};
    // A control may report anything; read no more than the cap, and an allocation that
    // fails reads as empty rather than ending the program.
    const std::size_t n = reported > static_cast<std::int64_t>(kMaxControlText)
                              ? kMaxControlText
                              : static_cast<std::size_t>(reported);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[n + 1]());
    if (!buffer) return {};
    if (ws.ReadText(window, buffer.get(), n + 1) < 0) return {};
    // The length may have shrunk since it was asked: stop at the first NUL the control left.
    std::size_t len = 0;
    while (len < n && buffer[len] != '\0') ++len;
    return std::string(buffer.get(), len);
}

std::string ChildWindowList(WindowSystem& ws, WindowHandle root, WindowHandle start,
                            bool withHandles) {
    // Descend along the chain of first children; the siblings of a window that has
    // children of its own are not visited. Depth and breadth are bounded against a
    // window tree that changes under our feet.
    constexpr int kMaxDepth = 1024;
    constexpr int kMaxSiblings = 65536;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        const WindowHandle child = ws.FirstChild(start);
        if (child == 0) break;
        start = child;
    }
    std::string out;
    if (start == root) return out;
    int count = 0;
    for (WindowHandle w = start; w != 0 && count < kMaxSiblings; w = ws.NextSibling(w), ++count) {
        out += WindowClassName(ws, w);
        out += '=';
        out += EscapeLineBreaks(RemoveListingAmpersands(ControlText(ws, w)));
        if (withHandles) {
            out += '=';
            out += HandleText(w);
        }
        out += "\r\n";
    }
    return out;
}

WindowHandle FocusedControlOf(WindowSystem& ws, WindowHandle window) {
    return ws.FocusedControlOf(window);
}

}  // namespace vantor

namespace vantor {

bool IsButtonClass(const ListEntries& buttonClasses, std::string_view name) {
    return ClassListContains(buttonClasses, UpperCase1251(name));
}
bool IsStaticClass(const ListEntries& staticClasses, std::string_view name) {
    return ClassListContains(staticClasses, UpperCase1251(name));
}
bool IsEditClass(const ListEntries& editClasses, std::string_view name) {
    return ClassListContains(editClasses, UpperCase1251(name));
}

}  // namespace vantor
