// The autorun value in the registry (HKEY_CURRENT_USER\...\Run, value "Vantor"; see autorun.h).
// GUI thread; failures are not reported.
#pragma once

#include <optional>
#include <string>

namespace vantor {

// The value's text when it is there as a string (REG_SZ); nothing otherwise.
std::optional<std::string> ReadRunValue();
// On: writes RunValueData(executablePath) as REG_SZ with its NUL; off: deletes the value. The
// Run key is opened, never created. False when that failed.
bool SetAutorun(bool on, const std::string& executablePath);

}  // namespace vantor
