// The readings the engine takes of other programs' windows. Each takes a handle, returns
// a text or a flag, keeps no state and never fails: what cannot be read comes back empty.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "lists/list_store.h"
#include "watcher/window_system.h"

namespace vantor {

// Largest control text the engine reads; a control that reports more is read up to here.
inline constexpr std::size_t kMaxControlText = 16u << 20;

// Class name with every byte below 32 written as "#" and its decimal code; at most 254 bytes
// are read. Not upper-cased.
std::string WindowClassName(WindowSystem& ws, WindowHandle window);
// Caption (at most 1023 bytes) with lone CR and lone LF made CR LF and the first ampersand
// of every run of ampersands removed.
std::string WindowCaption(WindowSystem& ws, WindowHandle window);
// The control's own text, exactly as it writes it (up to the first NUL), capped at
// kMaxControlText; empty for a negative length, a failed allocation or no answer.
std::string ControlText(WindowSystem& ws, WindowHandle window);
// One line per child: class "=" text [ "=" handle ] CR LF, descending along first children.
std::string ChildWindowList(WindowSystem& ws, WindowHandle root, WindowHandle start,
                            bool withHandles);
WindowHandle FocusedControlOf(WindowSystem& ws, WindowHandle window);

// Class-list membership; name is upper-cased first. The lists are sorted upper-case.
bool IsButtonClass(const ListEntries& buttonClasses, std::string_view name);
bool IsStaticClass(const ListEntries& staticClasses, std::string_view name);
bool IsEditClass(const ListEntries& editClasses, std::string_view name);

// The building blocks of the probes, exposed for the listing reader and the tests.
std::string EscapeControlChars(std::string_view className);
std::string NormaliseLineBreaks(std::string_view text);
std::string RemoveAcceleratorMarks(std::string_view text);   // caption rule
std::string RemoveListingAmpersands(std::string_view text);  // listing rule
std::string EscapeLineBreaks(std::string_view text);         // CR -> "#13", LF -> "#10"
std::string UnescapeLineBreaks(std::string_view text);       // "#13" -> CR, "#10" -> LF
// A handle as the listing writes it: its low 32 bits taken as a signed number.
std::string HandleText(WindowHandle window);
WindowHandle HandleFromText(std::string_view text);

}  // namespace vantor
