// UTF-8 <-> UTF-16 for the test harness (Windows-only).
#pragma once

#include <string>

namespace e2e {

std::wstring WidenUtf8(const std::string& text);
std::string NarrowToUtf8(const std::wstring& text);

}  // namespace e2e
