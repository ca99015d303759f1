#include "shell/autorun_win32.h"

#include <windows.h>

#include <vector>

#include "shell/autorun.h"

namespace vantor {

std::optional<std::string> ReadRunValue() {
    const std::string path(kRunKeyPath);
    const std::string name(kRunValueName);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::optional<std::string> value;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        // One more byte: a value written without its NUL still reads as a whole string.
        std::vector<char> data(size + 1, '\0');
        DWORD got = size;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &got) == ERROR_SUCCESS &&
            type == REG_SZ) {
            value = std::string(data.data(), strnlen(data.data(), got));
        }
    }
    RegCloseKey(key);
    return value;
}

bool SetAutorun(bool on, const std::string& executablePath) {
    const std::string path(kRunKeyPath);
    const std::string name(kRunValueName);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0,
                      KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    LONG result;
    if (on) {
        const std::string data = RunValueData(executablePath);
        result = RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                static_cast<DWORD>(data.size() + 1));
    } else {
        result = RegDeleteValueA(key, name.c_str());
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace vantor
