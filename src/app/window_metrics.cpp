#include "app/window_metrics.h"

#include <cmath>

namespace {

// Read once: the window procedure handles no DPI changes (system DPI awareness).
float dpiScale = 0.0f;

}  // namespace

int32_t ScaleForDpi(int32_t value) {
    if (dpiScale == 0.0f) {
        HDC screen = GetDC(nullptr);
        dpiScale = static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX)) / 96.0f;
        ReleaseDC(nullptr, screen);
    }
    const float scaled = std::ceil(static_cast<float>(value) * dpiScale);
    // Page values are untrusted: keep the conversion to int32 defined.
    if (!(scaled > -2147483648.0f)) return INT32_MIN;
    if (!(scaled < 2147483648.0f)) return INT32_MAX;
    return static_cast<int32_t>(scaled);
}

OuterSize OuterSizeForClient(int32_t width, int32_t height, DWORD style, DWORD exStyle) {
    RECT rect{0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}
