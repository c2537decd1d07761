// Windows-only. Strings across the browser interfaces: UTF-16 from the host into
// the transcript, and CoTaskMemAlloc'd copies handed back to the host.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "transcript.h"

namespace standin {

// UTF-8 text of a host string; null gives JSON null.
Json WideJson(LPCWSTR text);
std::string WideToUtf8(LPCWSTR text);  // null gives ""
std::wstring Utf8ToWide(std::string_view text);

// A CoTaskMemAlloc'd copy for an out-parameter; E_POINTER for a null slot.
HRESULT CopyToCaller(const std::wstring& text, LPWSTR* out);

// A process environment variable; false when it is not set.
bool ReadEnvironmentVariable(LPCWSTR name, std::wstring& value);

}  // namespace standin
