// Pointer lock: the cursor hidden and held in the window, raw motion to the page.
#include "input/pointer_lock.h"

#include <utility>

#include <nlohmann/json.hpp>

namespace {

constexpr UINT pointerLockTimerPeriodMs = 10;

}  // namespace

PointerLock::PointerLock(HWND window, PostFunction postToPage) : window_(window), postToPage_(std::move(postToPage)) {}

void PointerLock::PostReply(bool ok, bool enabled, DWORD error) {
    nlohmann::json reply{{"type", "set-pointer-lock-enabled-response"}, {"isOk", ok}};
    if (ok) {
        reply["isEnabled"] = enabled;
    } else {
        reply["error"] = error;
    }
    postToPage_(reply.dump());
}

void PointerLock::SetPointerLockEnabled(bool enabled) {
    if (enabled == pointerLockEnabled) return;
    pointerLockEnabled = enabled;

    RAWINPUTDEVICE device{};
    device.usUsagePage = 1;
    device.usUsage = 2;
    if (enabled) {
        device.dwFlags = RIDEV_INPUTSINK;
        device.hwndTarget = window_;
        skipNextAbsoluteSample = true;
        lastAbsoluteX = 0;
        lastAbsoluteY = 0;
    } else {
        device.dwFlags = RIDEV_REMOVE;
        device.hwndTarget = nullptr;
    }
    if (!RegisterRawInputDevices(&device, 1, sizeof device)) {
        PostReply(false, enabled, GetLastError());
        return;
    }
    if (enabled) {
        ClipCursorToWindow();
        SetTimer(window_, pointerLockTimerId, pointerLockTimerPeriodMs, nullptr);
        ShowCursor(FALSE);
    } else {
        KillTimer(window_, pointerLockTimerId);
        ClipCursor(nullptr);
        ShowCursor(TRUE);
    }
    PostReply(true, enabled, 0);
}

void PointerLock::ClipCursorToWindow() {
    RECT rect{};
    GetWindowRect(window_, &rect);
    ClipCursor(&rect);
    SetCursorPos(rect.left + (rect.right - rect.left) / 2, rect.top + (rect.bottom - rect.top) / 2);
}

void PointerLock::PostPointerMovement(int32_t dx, int32_t dy) {
    postToPage_(nlohmann::json{{"type", "pointer-lock-movement"}, {"movementX", dx}, {"movementY", dy}}.dump());
}

void PointerLock::OnRawInput(HRAWINPUT input) {
    // A mouse record is 48 bytes; read into a fixed buffer, no allocation per sample.
    alignas(RAWINPUT) unsigned char buffer[sizeof(RAWINPUTHEADER) + sizeof(RAWMOUSE)]{};
    UINT size = sizeof buffer;
    GetRawInputData(input, RID_INPUT, buffer, &size, sizeof(RAWINPUTHEADER));
    const auto* record = reinterpret_cast<const RAWINPUT*>(buffer);
    if (record->header.dwType != RIM_TYPEMOUSE) return;
    OnRawMouse(record->data.mouse);
}

void PointerLock::OnRawMouse(const RAWMOUSE& mouse) {
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
