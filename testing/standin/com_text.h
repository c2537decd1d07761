// Windows-only. Strings across the browser interfaces: CoTaskMemAlloc'd copies
// handed back to the host (text conversion is the host's own, util/text_convert.h).
#pragma once

#include <windows.h>

#include <string>

#include "transcript.h"
#include "util/text_convert.h"

namespace standin {

// A CoTaskMemAlloc'd copy for an out-parameter; E_POINTER for a null slot.
HRESULT CopyToCaller(const std::wstring& text, LPWSTR* out);

// A process environment variable; false when it is not set.
bool ReadEnvironmentVariable(LPCWSTR name, std::wstring& value);

}  // namespace standin
