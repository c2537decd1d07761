#include "environment_variable.h"

#include <windows.h>

std::optional<std::wstring> EnvironmentVariable(const wchar_t* name) {
    // Read from the process block itself: the host may use another C runtime,
    // whose copy of the environment this library would not see.
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::wstring();
        }
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);
    }
}
