// Reads pixels of the screen (Windows-only).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace e2e {

// The pixels (0x00RRGGBB, rows top to bottom) of a rectangle in screen coordinates;
// empty when the rectangle is empty or the screen cannot be read.
std::vector<uint32_t> CaptureScreenRect(const RECT& area);

}  // namespace e2e
