#include "util/debug_trace.h"

#include <cwchar>

#include "util/text_convert.h"

std::wstring FailureTraceText(const char* what, HRESULT result) {
    wchar_t code[16];
    std::swprintf(code, sizeof code / sizeof code[0], L"0x%08lX", static_cast<unsigned long>(result));
    return L"tessarine: " + Utf8ToWide(what) + L" failed (" + code + L")\n";
}

void TraceIfFailed(HRESULT result, const char* what) {
    if (FAILED(result)) OutputDebugStringW(FailureTraceText(what, result).c_str());
}
