// Windows-only.
#include "util/text_convert.h"

#include <windows.h>

#include <climits>
#include <cwchar>

namespace {

// The system conversions count in signed 32-bit integers; a longer input would
// wrap to a negative (or a small) count and convert the wrong text.
bool FitsSystemCount(size_t length) {
    return length <= static_cast<size_t>(INT_MAX);
}

}  // namespace

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty() || !FitsSystemCount(text.size())) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int needed = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring result(static_cast<size_t>(needed), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, result.data(), needed);
    return result;
}

std::string WideToUtf8(const std::wstring& text) {
    std::string result;
    WideToUtf8(text.data(), text.size(), result);
    return result;
}

std::string WideToUtf8(const wchar_t* text) {
    std::string result;
    if (text) WideToUtf8(text, std::wcslen(text), result);
    return result;
}

void WideToUtf8(const wchar_t* text, size_t length, std::string& out) {
    out.clear();
    if (text == nullptr || length == 0 || !FitsSystemCount(length)) return;
    const int count = static_cast<int>(length);
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return;
    out.resize(static_cast<size_t>(needed));
    ::WideCharToMultiByte(CP_UTF8, 0, text, count, out.data(), needed, nullptr, nullptr);
}
