// Window operations the page asks for, and the size notices it hears.
#include <nlohmann/json.hpp>

#include "app/main_window.h"
#include "webview/pallant_webview.h"

namespace {

constexpr LONG fullscreenClearedStyle = WS_CAPTION | WS_THICKFRAME;
constexpr LONG fullscreenClearedExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

}  // namespace

void PallantWebView::SetFullscreen(bool on) {
    if (on == isFullscreen) return;
    isFullscreen = on;
    RECT target{};
    if (on) {
        savedStyle = GetWindowLongW(window, GWL_STYLE);
        savedExStyle = GetWindowLongW(window, GWL_EXSTYLE);
        GetWindowRect(window, &savedWindowRect);
        SetWindowLongW(window, GWL_STYLE, savedStyle & ~fullscreenClearedStyle);
        SetWindowLongW(window, GWL_EXSTYLE, savedExStyle & ~fullscreenClearedExStyle);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        target = monitor.rcMonitor;
    } else {
        SetWindowLongW(window, GWL_STYLE, savedStyle);
        SetWindowLongW(window, GWL_EXSTYLE, savedExStyle);
        target = savedWindowRect;
    }
    SetWindowPos(window, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

    // Created on first use and retried after a failure.
    if (!taskbarList) {
        ComPtr<ITaskbarList2> created;
        if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList2,
                                       reinterpret_cast<void**>(created.put()))) &&
            created && SUCCEEDED(created->HrInit())) {
            taskbarList = created;
        }
    }
    if (taskbarList) taskbarList->MarkFullscreenWindow(window, on ? TRUE : FALSE);
}

void PallantWebView::SetClientSize(int32_t width, int32_t height) {
    if (isFullscreen || width < 1 || height < 1) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    const OuterSize outer = OuterSizeForClient(ScaleForDpi(width), ScaleForDpi(height), style, exStyle);
    SetWindowPos(window, nullptr, 0, 0, outer.width, outer.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PallantWebView::MoveWindowTo(int32_t x, int32_t y) {
    if (isFullscreen) return;
    SetWindowPos(window, nullptr, ScaleForDpi(x), ScaleForDpi(y), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PallantWebView::FocusWindow() {
    SetForegroundWindow(window);
    if (controller) controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
}

void PallantWebView::OnMainWindowSized(WPARAM sizeKind) {
    if (!controller) return;
    RECT bounds{};
    GetClientRect(window, &bounds);
    controller->put_Bounds(bounds);
    const char* notice = sizeKind == SIZE_MAXIMIZED   ? "window-maximized"
                         : sizeKind == SIZE_MINIMIZED ? "window-minimized"
                                                      : nullptr;
    if (notice) PostToPage(nlohmann::json{{"type", notice}}.dump());
}
