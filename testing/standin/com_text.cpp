// Windows-only.
#include "com_text.h"

#include <objbase.h>

#include <cstring>

namespace standin {

HRESULT CopyToCaller(const std::wstring& text, LPWSTR* out) {
    if (out == nullptr) return E_POINTER;
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
    *out = copy;
    if (copy == nullptr) return E_OUTOFMEMORY;
    std::memcpy(copy, text.c_str(), bytes);
    return S_OK;
}

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
