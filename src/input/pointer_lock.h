// Windows-only. Pointer lock: while the page holds it, the cursor is hidden, kept
// in the main window at its centre, and raw mouse motion goes to the page. While
// another window is in front, or the window is minimised, the cursor is left free and
// shown and no motion goes to the page; the lock itself stays on, and comes back when
// the window is in front again.
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
    // The timer's tick: while the lock is on, clips the cursor to the window rectangle
    // and puts it at the centre if the window is in front, else lets the cursor go.
    void ClipCursorToWindow();
    // The window was activated or deactivated: a deactivation lets the cursor go at once.
    void OnActivation(bool active);
    void PostPointerMovement(int32_t dx, int32_t dy);
    // WM_INPUT: reads the raw record behind the handle.
    void OnRawInput(HRAWINPUT input);
    // One mouse record: absolute positions become differences, relative motion passes.
    void OnRawMouse(const RAWMOUSE& mouse);

private:
    void PostReply(bool ok, bool enabled, DWORD error);
    bool WindowInFront() const;
    // Hides the cursor (once), clips and centres it; LetGo undoes the clip and the hide.
    void Hold();
    void LetGo();

    const HWND window_;
    const PostFunction postToPage_;
    bool pointerLockEnabled = false;
    bool lockInForce_ = false;  // the raw input registration and the timer are on
    bool cursorHeld_ = false;   // the cursor is hidden and clipped by us
    bool skipNextAbsoluteSample = false;
    int32_t lastAbsoluteX = 0;
    int32_t lastAbsoluteY = 0;
};
