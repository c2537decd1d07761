#pragma once
// Window state: fullscreen and its saved frame, and the taskbar list that keeps the
// taskbar below a fullscreen window.

#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

#include "util/win_handles.h"
#include "webview/window_operations.h"

class WindowState final : public WindowOperations {
public:
    explicit WindowState(HWND window);
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;

    void SetFullscreen(bool on) override;
    void SetClientSize(int32_t width, int32_t height) override;
    void MoveWindowTo(int32_t x, int32_t y) override;

private:
    const HWND window_;
    // Created on the first fullscreen change, retried after a failure; released with this object.
    ComPtr<ITaskbarList2> taskbarList;
    bool isFullscreen = false;
    LONG savedStyle = 0;
    LONG savedExStyle = 0;
    RECT savedWindowRect{};
};
