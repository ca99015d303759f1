// The readings the engine takes of other programs' windows. Each takes a handle, returns
// a text or a flag, keeps no state and never fails: what cannot be read comes back empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lists/list_store.h"
#include "watcher/window_system.h"

namespace vantor {

// Largest control text the engine reads; a control that reports more is read up to here.
inline constexpr std::size_t kMaxControlText = 16u << 20;

// What one child listing may take, whatever other programs put on screen: at most this many
// children and this much text in all (the rest is not listed), and reading stops once the
// listing has run this long, or right after a child that took longer than kSlowAnswerMs to
// answer: the listing is then cut short and the caller tries again on its next tick.
inline constexpr std::size_t kMaxListedChildren = 4096;
inline constexpr std::size_t kMaxListingText = 1u << 20;
inline constexpr std::uint32_t kListingBudgetMs = 250;
inline constexpr std::uint32_t kSlowAnswerMs = 100;

// One child of a listing: its real handle, and its class and text as the rules see them.
struct ChildRecord {
    WindowHandle handle = 0;
    std::string cls;   // WindowClassName
    std::string text;  // ControlText, listing ampersand rule, CR as "#13" and LF as "#10"
};
struct ChildListing {
    std::vector<ChildRecord> children;  // in z-order
    bool cutShort = false;              // children answered too slowly: not all of them were read
};

// Class name with every byte below 32 written as "#" and its decimal code; at most 254 bytes
// are read. Not upper-cased.
std::string WindowClassName(WindowSystem& ws, WindowHandle window);
// Caption (at most 1023 bytes) with lone CR and lone LF made CR LF and the first ampersand
// of every run of ampersands removed.
std::string WindowCaption(WindowSystem& ws, WindowHandle window);
// The control's own text, exactly as it writes it (up to the first NUL), capped at
// kMaxControlText; empty for a negative length, a failed allocation or no answer.
std::string ControlText(WindowSystem& ws, WindowHandle window);
// The children of start as records, descending along first children (the siblings of a window
// that has children of its own are not visited); empty when start is root and childless.
// Bounded by the caps above.
ChildListing ListChildren(WindowSystem& ws, WindowHandle root, WindowHandle start);
WindowHandle FocusedControlOf(WindowSystem& ws, WindowHandle window);

// Class-list membership (Button.ini, Static.ini, Edit.ini); name is upper-cased first. The
// lists are sorted upper-case.
bool IsListedClass(const ListEntries& classes, std::string_view name);
// A control that asks the user for a choice or a value: combo box, list box, list view, tree
// view, rich edit, date and time picker, month calendar, up-down, track bar, IP address and
// hot-key controls. Case does not matter. The system's class names and the names that the
// common frameworks build from them count: the name, or the name after one framework prefix
// ("T" of Delphi/C++Builder, "WindowsForms10." of .NET, "ThunderRT6" and "Thunder" of
// Visual Basic), must begin with one of the stems (so "COMBOBOXEX32", "RichEdit20A",
// "RICHEDIT50W", "TComboBox", "TDateTimePicker", "WindowsForms10.COMBOBOX.app.0.1" count).
bool IsInputClass(std::string_view name);

// The building blocks of the probes, exposed for the advanced list and the tests.
std::string EscapeControlChars(std::string_view className);
std::string NormaliseLineBreaks(std::string_view text);
std::string RemoveAcceleratorMarks(std::string_view text);   // caption rule
std::string RemoveListingAmpersands(std::string_view text);  // listing rule
std::string EscapeLineBreaks(std::string_view text);         // CR -> "#13", LF -> "#10"
std::string UnescapeLineBreaks(std::string_view text);       // "#13" -> CR, "#10" -> LF

}  // namespace vantor
