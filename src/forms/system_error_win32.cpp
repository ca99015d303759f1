#include "forms/system_error_win32.h"

namespace vantor {

std::string SystemErrorText(DWORD code) {
    if (code == 0) return std::string();
    char buffer[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             code, 0, buffer, sizeof buffer, nullptr);
    while (n > 0 && static_cast<unsigned char>(buffer[n - 1]) <= 32) --n;
    if (n == 0) return "error " + std::to_string(code);
    return std::string(buffer, n);
}

}  // namespace vantor
