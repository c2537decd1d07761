#include "window_facts.h"

#include <string>

namespace {

std::string ToUtf8(const wchar_t* text, int length) {
    if (length <= 0) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size : 0, '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

}  // namespace

nlohmann::json DescribeWindow(HWND window) {
    const bool isWindow = IsWindow(window) != FALSE;
    wchar_t className[256] = {};
    const int length = isWindow ? GetClassNameW(window, className, 256) : 0;
    return {{"isWindow", isWindow},
            {"isVisible", isWindow && IsWindowVisible(window) != FALSE},
            {"className", ToUtf8(className, length)}};
}
