#include "app/window_metrics.h"

#include <algorithm>
#include <cmath>

uint32_t SystemDpi() {
    const UINT dpi = GetDpiForSystem();
    return dpi != 0 ? dpi : 96;
}

uint32_t WindowDpi(HWND window) {
    // Per-monitor aware: the DPI of the monitor the window is on (0 for no window).
    const UINT dpi = window != nullptr ? GetDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

int32_t ScaleForDpi(int32_t value, uint32_t dpi) {
    const float scale = static_cast<float>(dpi) / 96.0f;
    const float scaled = std::ceil(static_cast<float>(value) * scale);
    // Page values are untrusted: keep the conversion to int32 defined.
    if (!(scaled > -2147483648.0f)) return INT32_MIN;
    if (!(scaled < 2147483648.0f)) return INT32_MAX;
    return static_cast<int32_t>(scaled);
}

OuterSize OuterSizeForClient(int32_t width, int32_t height, DWORD style, DWORD exStyle) {
    // The frame of an empty client area, added in 64 bits: page-sent sizes near
    // INT32_MAX would overflow the rectangle itself.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    auto outer = [](int64_t client, int64_t border) {
        return static_cast<int32_t>(std::clamp<int64_t>(client + border, INT32_MIN, INT32_MAX));
    };
    return {outer(width, int64_t{frame.right} - frame.left), outer(height, int64_t{frame.bottom} - frame.top)};
}
