// Windows-only. A window's state for the transcript.
#pragma once

#include <windows.h>

#include "transcript.h"

namespace standin {

// [left, top, right, bottom]
Json RectJson(const RECT& rect);

// window, exists, visible, minimized, maximized, style, exStyle, windowRect,
// clientRect, text.
Json DescribeWindow(HWND window);

}  // namespace standin
