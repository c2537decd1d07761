#pragma once
// Sizes for the main window: 96-DPI units to device pixels, client to outer size.

#include <windows.h>

#include <cstdint>

struct OuterSize {
    int32_t width;
    int32_t height;
};

// The DPI new windows start at, and that of the monitor a window is on.
uint32_t SystemDpi();
uint32_t WindowDpi(HWND window);
// 96-DPI units (CSS pixels at 100 %) to device pixels at `dpi`, rounded up.
int32_t ScaleForDpi(int32_t value, uint32_t dpi);
OuterSize OuterSizeForClient(int32_t width, int32_t height, DWORD style, DWORD exStyle);
