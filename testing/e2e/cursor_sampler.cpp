#include "cursor_sampler.h"

#include "scenario.h"

namespace e2e {

CursorSampler::CursorSampler(std::function<void(const CursorSample&)> onSample)
    : onSample_(std::move(onSample)), thread_([this] { Run(); }) {}

CursorSampler::~CursorSampler() {
    Stop();
}

void CursorSampler::Stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

void CursorSampler::Run() {
    while (!stopping_) {
        CursorSample sample;
        // The host's main window class; only one host runs at a time.
        if (HWND window = FindWindowW(L"Tessarine", nullptr)) {
            sample.windowFound = GetWindowRect(window, &sample.windowRect) != FALSE;
        }
        GetClipCursor(&sample.clip);
        onSample_(sample);
        Sleep(3);
    }
}

bool CursorSample::ClippedToWindow() const {
    return windowFound && SameRect(clip, windowRect);
}

bool CursorSample::Free() const {
    return windowFound && SameRect(clip, VirtualScreenRect());
}

void SendMouse(DWORD flags, int dx, int dy, DWORD data) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi = MOUSEINPUT{dx, dy, data, flags, 0, 0};
    SendInput(1, &input, sizeof input);
    Sleep(200);
}

}  // namespace e2e
