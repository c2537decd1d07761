// UTF-8 <-> UTF-16 for the test harness (Windows-only): the host's own conversion.
#pragma once

#include <string>

#include "util/text_convert.h"

namespace e2e {

inline std::wstring WidenUtf8(const std::string& text) {
    return Utf8ToWide(text);
}
inline std::string NarrowToUtf8(const std::wstring& text) {
    return WideToUtf8(text);
}

}  // namespace e2e
