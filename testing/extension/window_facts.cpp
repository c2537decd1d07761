#include "window_facts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string ToUtf8(const wchar_t* text, int length) {
    if (length <= 0) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size : 0, '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
    return result;
}

nlohmann::json DescribeIcon(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return nullptr;
    BITMAP shape{};
    nlohmann::json result = nullptr;
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof shape, &shape) == sizeof shape) {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = shape.bmWidth;
        format.bmiHeader.biHeight = -shape.bmHeight;  // top down
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        std::vector<uint8_t> bgra(static_cast<size_t>(shape.bmWidth) * shape.bmHeight * 4);
        HDC screen = GetDC(nullptr);
        const int rows = GetDIBits(screen, info.hbmColor, 0, shape.bmHeight, bgra.data(), &format, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        if (rows == shape.bmHeight) {
            static const char digits[] = "0123456789abcdef";
            std::string hex;
            for (size_t i = 0; i < bgra.size(); i += 4) {
                for (const size_t channel : {i + 2, i + 1, i, i + 3}) {
                    hex += digits[bgra[channel] >> 4];
                    hex += digits[bgra[channel] & 15];
                }
            }
            result = {{"width", shape.bmWidth}, {"height", shape.bmHeight}, {"rgba", hex}};
        }
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return result;
}

HICON WindowIcon(HWND window, WPARAM kind, int classIndex) {
    DWORD_PTR icon = 0;
    SendMessageTimeoutW(window, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 1000, &icon);
    return icon ? reinterpret_cast<HICON>(icon) : reinterpret_cast<HICON>(GetClassLongPtrW(window, classIndex));
}

}  // namespace

nlohmann::json DescribeWindow(HWND window) {
    const bool isWindow = IsWindow(window) != FALSE;
    wchar_t className[256] = {};
    const int length = isWindow ? GetClassNameW(window, className, 256) : 0;
    return {{"isWindow", isWindow},
            {"isVisible", isWindow && IsWindowVisible(window) != FALSE},
            {"className", ToUtf8(className, length)},
            {"icons",
             {{"big", isWindow ? DescribeIcon(WindowIcon(window, ICON_BIG, GCLP_HICON)) : nullptr},
              {"small", isWindow ? DescribeIcon(WindowIcon(window, ICON_SMALL, GCLP_HICONSM)) : nullptr}}}};
}
