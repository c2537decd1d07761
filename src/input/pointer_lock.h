// Windows-only. Pointer lock: while the page holds it, the cursor is hidden, kept
// in the main window at its centre, and raw mouse motion goes to the page.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// The host's one timer: re-clips the locked cursor every 10 ms.
inline constexpr UINT_PTR pointerLockTimerId = 1000;

class PointerLock {
public:
    using PostFunction = std::function<void(const std::string& json)>;

    // `window` receives the raw input and the timer; answers and motion leave through postToPage.
    PointerLock(HWND window, PostFunction postToPage);
    PointerLock(const PointerLock&) = delete;
    PointerLock& operator=(const PointerLock&) = delete;

    // Answers the page only when the state changes; a refused registration is answered
    // with the system's error code and leaves the cursor alone.
    void SetPointerLockEnabled(bool enabled);
    // Clips the cursor to the window rectangle and puts it at the centre.
    void ClipCursorToWindow();
    void PostPointerMovement(int32_t dx, int32_t dy);
    // WM_INPUT: reads the raw record behind the handle.
    void OnRawInput(HRAWINPUT input);
    // One mouse record: absolute positions become differences, relative motion passes.
    void OnRawMouse(const RAWMOUSE& mouse);

private:
    void PostReply(bool ok, bool enabled, DWORD error);

    const HWND window_;
    const PostFunction postToPage_;
    bool pointerLockEnabled = false;
    bool skipNextAbsoluteSample = false;
    int32_t lastAbsoluteX = 0;
    int32_t lastAbsoluteY = 0;
};
