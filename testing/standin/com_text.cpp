// Windows-only.
#include "com_text.h"

#include <objbase.h>

namespace standin {

bool ReadEnvironmentVariable(LPCWSTR name, std::wstring& value) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        value.clear();
        // An empty variable also reports 0; only a missing one sets this error.
        return ::GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    }
    std::wstring buffer(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, buffer.data(), size);
    buffer.resize(length < size ? length : 0);
    value = buffer;
    return true;
}

}  // namespace standin
