// Windows-only. UTF-8 <-> UTF-16 conversion at the edges of Windows and browser calls.
#pragma once

#include <string>

// Malformed UTF-8 becomes U+FFFD; NUL bytes are kept. Empty input, or input of
// 2^31 bytes or more, gives an empty result.
std::wstring Utf8ToWide(const std::string& text);

// Unpaired surrogates become U+FFFD; NUL units are kept. Empty input, or input
// of 2^31 units or more, gives an empty result.
std::string WideToUtf8(const std::wstring& text);

// A NUL-terminated text handed back by a Windows or browser call; null gives "".
std::string WideToUtf8(const wchar_t* text);

// The same into `out`, which keeps its capacity between calls: for texts converted
// on every request. `length` units of `text`; NUL units are kept.
void WideToUtf8(const wchar_t* text, size_t length, std::string& out);
