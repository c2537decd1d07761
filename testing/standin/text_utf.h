#pragma once
// UTF-16 <-> UTF-8 for the strings that cross the browser interfaces. Broken
// input is replaced by U+FFFD rather than rejected: the transcript must show
// what the host passed, whatever it was.

#include <string>
#include <string_view>

namespace standin {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace standin
