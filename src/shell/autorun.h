// The value that makes the program start with Windows: HKEY_CURRENT_USER, sub-key
// kRunKeyPath, value kRunValueName, type REG_SZ, written with its terminating NUL.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

inline constexpr std::string_view kRunKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValueName = "Vantor";

// The value's data: the executable's full path, in double quotes when it holds a blank.
std::string RunValueData(std::string_view executablePath);

// Whether autorun shows as on: the value is there and names this executable in the form a
// click writes it, compared without regard to case. A value of another type reads as none.
bool AutorunIsOn(const std::optional<std::string>& value, std::string_view executablePath);

}  // namespace vantor
