// The system's own words for an error code, for the notices that tell the user a file could
// not be written.
#pragma once

#include <windows.h>

#include <string>

namespace vantor {

// FormatMessageA's text for the code (its line end dropped); "error <code>" when the system
// has none. Code 0 (a refusal of our own, no system error): empty.
std::string SystemErrorText(DWORD code);

}  // namespace vantor
