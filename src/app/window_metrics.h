#pragma once
// Sizes for the main window: 96-DPI units to device pixels, client to outer size.

#include <windows.h>

#include <cstdint>

struct OuterSize {
    int32_t width;
    int32_t height;
};

// 96-DPI units (CSS pixels at 100 %) to device pixels at the system DPI.
int32_t ScaleForDpi(int32_t value);
OuterSize OuterSizeForClient(int32_t width, int32_t height, DWORD style, DWORD exStyle);
