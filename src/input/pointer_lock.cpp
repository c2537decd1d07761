// Pointer lock: the cursor hidden and held in the window, raw motion to the page.
#include <nlohmann/json.hpp>

#include "app/main_window.h"
#include "webview/pallant_webview.h"

namespace {

constexpr UINT pointerLockTimerPeriodMs = 10;

void PostPointerLockReply(PallantWebView& host, bool ok, bool enabled, DWORD error) {
    nlohmann::json reply{{"type", "set-pointer-lock-enabled-response"}, {"isOk", ok}};
    if (ok) {
        reply["isEnabled"] = enabled;
    } else {
        reply["error"] = error;
    }
    host.PostToPage(reply.dump());
}

}  // namespace

void PallantWebView::SetPointerLockEnabled(bool enabled) {
    if (enabled == pointerLockEnabled) return;
    pointerLockEnabled = enabled;

    RAWINPUTDEVICE device{};
    device.usUsagePage = 1;
    device.usUsage = 2;
    if (enabled) {
        device.dwFlags = RIDEV_INPUTSINK;
        device.hwndTarget = window;
        skipNextAbsoluteSample = true;
        lastAbsoluteX = 0;
        lastAbsoluteY = 0;
    } else {
        device.dwFlags = RIDEV_REMOVE;
        device.hwndTarget = nullptr;
    }
    if (!RegisterRawInputDevices(&device, 1, sizeof device)) {
        PostPointerLockReply(*this, false, enabled, GetLastError());
        return;
    }
    if (enabled) {
        ClipCursorToWindow();
        SetTimer(window, pointerLockTimerId, pointerLockTimerPeriodMs, nullptr);
        ShowCursor(FALSE);
    } else {
        KillTimer(window, pointerLockTimerId);
        ClipCursor(nullptr);
        ShowCursor(TRUE);
    }
    PostPointerLockReply(*this, true, enabled, 0);
}

void PallantWebView::ClipCursorToWindow() {
    RECT rect{};
    GetWindowRect(window, &rect);
    ClipCursor(&rect);
    SetCursorPos(rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2);
}

void PallantWebView::PostPointerMovement(int32_t dx, int32_t dy) {
    PostToPage(nlohmann::json{{"type", "pointer-lock-movement"}, {"movementX", dx}, {"movementY", dy}}.dump());
}

void PallantWebView::OnRawInput(HRAWINPUT input) {
    // A mouse record is 48 bytes; read into a fixed buffer, no allocation per sample.
    alignas(RAWINPUT) unsigned char buffer[sizeof(RAWINPUTHEADER) + sizeof(RAWMOUSE)]{};
    UINT size = sizeof buffer;
    GetRawInputData(input, RID_INPUT, buffer, &size, sizeof(RAWINPUTHEADER));
    const auto* record = reinterpret_cast<const RAWINPUT*>(buffer);
    if (record->header.dwType != RIM_TYPEMOUSE) return;
    OnRawMouse(record->data.mouse);
}

void PallantWebView::OnRawMouse(const RAWMOUSE& mouse) {
    if (mouse.usFlags & MOUSE_MOVE_ABSOLUTE) {
        const bool virtualDesktop = (mouse.usFlags & MOUSE_VIRTUAL_DESKTOP) != 0;
        const int originX = virtualDesktop ? GetSystemMetrics(SM_XVIRTUALSCREEN) : 0;
        const int originY = virtualDesktop ? GetSystemMetrics(SM_YVIRTUALSCREEN) : 0;
        const int extentX = GetSystemMetrics(virtualDesktop ? SM_CXVIRTUALSCREEN : SM_CXSCREEN);
        const int extentY = GetSystemMetrics(virtualDesktop ? SM_CYVIRTUALSCREEN : SM_CYSCREEN);
        const int32_t x = originX + MulDiv(mouse.lLastX, extentX, 65535);
        const int32_t y = originY + MulDiv(mouse.lLastY, extentY, 65535);
        if (skipNextAbsoluteSample) {
            skipNextAbsoluteSample = false;
        } else {
            PostPointerMovement(x - lastAbsoluteX, y - lastAbsoluteY);
        }
        lastAbsoluteX = x;
        lastAbsoluteY = y;
    } else if (mouse.lLastX != 0 || mouse.lLastY != 0) {
        PostPointerMovement(mouse.lLastX, mouse.lLastY);
    }
}
