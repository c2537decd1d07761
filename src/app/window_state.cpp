// Window operations the page asks for that depend on fullscreen.
#include "app/window_state.h"

#include "app/window_metrics.h"

namespace {

constexpr LONG fullscreenClearedStyle = WS_CAPTION | WS_THICKFRAME;
constexpr LONG fullscreenClearedExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

}  // namespace

WindowState::WindowState(HWND window) : window_(window) {}

void WindowState::SetFullscreen(bool on) {
    if (on == isFullscreen) return;
    isFullscreen = on;
    RECT target{};
    if (on) {
        savedStyle = GetWindowLongW(window_, GWL_STYLE);
        savedExStyle = GetWindowLongW(window_, GWL_EXSTYLE);
        GetWindowRect(window_, &savedWindowRect);
        SetWindowLongW(window_, GWL_STYLE, savedStyle & ~fullscreenClearedStyle);
        SetWindowLongW(window_, GWL_EXSTYLE, savedExStyle & ~fullscreenClearedExStyle);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
        target = monitor.rcMonitor;
    } else {
        SetWindowLongW(window_, GWL_STYLE, savedStyle);
        SetWindowLongW(window_, GWL_EXSTYLE, savedExStyle);
        target = savedWindowRect;
    }
    SetWindowPos(window_, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    if (!taskbarList) {
        ComPtr<ITaskbarList2> created;
        if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList2,
                                       reinterpret_cast<void**>(created.put()))) &&
            created && SUCCEEDED(created->HrInit())) {
            taskbarList = created;
        }
    }
    if (taskbarList) taskbarList->MarkFullscreenWindow(window_, on ? TRUE : FALSE);
}

void WindowState::SetClientSize(int32_t width, int32_t height) {
    if (isFullscreen || width < 1 || height < 1) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE));
    const uint32_t dpi = WindowDpi(window_);
    const OuterSize outer = OuterSizeForClient(ScaleForDpi(width, dpi), ScaleForDpi(height, dpi), style, exStyle);
    SetWindowPos(window_, nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowState::MoveWindowTo(int32_t x, int32_t y) {
    if (isFullscreen) return;
    const uint32_t dpi = WindowDpi(window_);
    SetWindowPos(window_, nullptr, ScaleForDpi(x, dpi), ScaleForDpi(y, dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
