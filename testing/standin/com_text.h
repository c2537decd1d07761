// Windows-only. Strings across the browser interfaces: copies handed back to the host
// (CopyToCaller, util/win_handles.h) and text conversion are the host's own.
#pragma once

#include <windows.h>

#include <string>

#include "transcript.h"
#include "util/text_convert.h"
#include "util/win_handles.h"

namespace standin {

// A process environment variable; false when it is not set.
bool ReadEnvironmentVariable(LPCWSTR name, std::wstring& value);

}  // namespace standin
