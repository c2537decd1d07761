// Windows-only. The window operations whose state the application shell keeps
// (fullscreen, and the size and position requests that fullscreen holds back).
// The web view host owns one and calls it for the page and the browser.
#pragma once

#include <cstdint>

class WindowOperations {
public:
    virtual ~WindowOperations() = default;
    // True enters fullscreen on the nearest monitor, false restores the window.
    virtual void SetFullscreen(bool on) = 0;
    // Client size in 96-DPI units; ignored in fullscreen and below 1.
    virtual void SetClientSize(int32_t width, int32_t height) = 0;
    // Outer top-left corner in 96-DPI units; ignored in fullscreen.
    virtual void MoveWindowTo(int32_t x, int32_t y) = 0;
};
