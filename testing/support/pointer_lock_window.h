// Windows-only. A window for pointer-lock tests: its pointer-lock timer reaches the
// lock, as the main window's does, and what the lock posts to the page is kept.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "input/pointer_lock.h"

namespace test_support {

class PointerLockWindow {
public:
    // Without a window the lock has no target, as before the main window exists.
    PointerLockWindow(int x, int y, int width, int height, bool withWindow = true) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TessarinePointerLockTest";
        RegisterClassExW(&windowClass);  // a later test's second registration fails harmlessly
        if (withWindow) {
            // Shown and in front: the lock holds the cursor only for the foreground window.
            window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, width,
                                     height, nullptr, nullptr, windowClass.hInstance, nullptr);
            SetForegroundWindow(window);
            PumpTimerTicks(50);
        }
        lock = std::make_unique<PointerLock>(window, [this](const std::string& json) { posts.push_back(json); });
        current = lock.get();
    }
    ~PointerLockWindow() {
        current = nullptr;
        if (window) DestroyWindow(window);
    }
    PointerLockWindow(const PointerLockWindow&) = delete;
    PointerLockWindow& operator=(const PointerLockWindow&) = delete;

    std::vector<std::string> TakePosts() { return std::exchange(posts, {}); }

    // Hands the lock one raw mouse sample and takes what it posted.
    std::vector<std::string> Feed(USHORT flags, LONG x, LONG y, USHORT buttons = 0) {
        RAWMOUSE mouse{};
        mouse.usFlags = flags;
        mouse.usButtonFlags = buttons;
        mouse.lLastX = x;
        mouse.lLastY = y;
        lock->OnRawMouse(mouse);
        return TakePosts();
    }
    // Dispatches this thread's messages for a while; returns the lock's timer ticks meanwhile.
    int PumpTimerTicks(DWORD milliseconds) {
        ticks = 0;
        for (const ULONGLONG end = GetTickCount64() + milliseconds; GetTickCount64() < end; Sleep(1)) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        }
        return ticks;
    }

    HWND window = nullptr;
    std::vector<std::string> posts;
    std::unique_ptr<PointerLock> lock;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER && wParam == pointerLockTimerId && current) {
            ++ticks;
            current->ClipCursorToWindow();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static inline PointerLock* current = nullptr;
    static inline int ticks = 0;
};

// This thread's cursor display counter, left as it was.
inline int CursorCounter() {
    const int counter = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return counter;
}

// The clip, the virtual screen and the cursor as {left, top, right, bottom} and {x, y},
// so tests compare them whole.
inline std::vector<LONG> ClipRect() {
    RECT clip{};
    GetClipCursor(&clip);
    return {clip.left, clip.top, clip.right, clip.bottom};
}

inline std::vector<LONG> VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

inline std::vector<LONG> CursorPos() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return {cursor.x, cursor.y};
}

}  // namespace test_support
