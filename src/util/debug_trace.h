// Windows-only. A runtime result the host ignores on purpose still leaves a trace: one
// line in the debugger's output (OutputDebugStringW), never a file or a box.
#pragma once

#include <windows.h>

#include <string>

// "tessarine: <what> failed (0x<result>)\n", the line TraceIfFailed writes.
std::wstring FailureTraceText(const char* what, HRESULT result);

// Writes the line when `result` failed; the caller goes on either way.
void TraceIfFailed(HRESULT result, const char* what);
