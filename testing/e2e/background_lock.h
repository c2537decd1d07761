// Plays the user's part while the host holds pointer lock (Windows-only): once the lock
// is seen, a window of this process takes the foreground for a second while the mouse
// moves; then the host's window comes back to the front, the mouse moves and turns its
// wheel; once the page has let go, the mouse moves again. Runs on the sampling thread.
#pragma once

#include <windows.h>

#include "e2e/cursor_sampler.h"
#include "e2e/local_actions.h"

namespace e2e {

class BackgroundLockUser {
public:
    // 0: waiting for the lock, 1: another window in front, 2: host back in front,
    // 3: moved under the lock, 4: moved after the lock let go.
    int phase = 0;
    bool freedWhileBehind = false;  // the cursor was free while the other window was in front

    void OnSample(const CursorSample& sample) {
        if (phase == 0 && sample.ClippedToWindow()) {
            phase = 1;
            host_ = GetForegroundWindow();
            other_ = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                     nullptr, nullptr, nullptr);
            SetForegroundWindow(other_);
            PumpMessagesFor(300);
            SendMouse(MOUSEEVENTF_MOVE, 7, 7);
            phaseEnd_ = GetTickCount64() + 1000;
        } else if (phase == 1) {
            // The visibility Wine reports is this process's own now: the clip tells.
            freedWhileBehind = freedWhileBehind || sample.Free();
            PumpMessagesFor(5);
            if (GetTickCount64() < phaseEnd_) return;
            SetForegroundWindow(host_);
            DestroyWindow(other_);
            PumpMessagesFor(300);
            phase = 2;
        } else if (phase == 2 && sample.ClippedToWindow()) {
            phase = 3;
            SendMouse(MOUSEEVENTF_MOVE, -4, 2);
            SendMouse(MOUSEEVENTF_WHEEL, 0, 0, WHEEL_DELTA);
        } else if (phase == 3 && sample.Free()) {
            phase = 4;
            SendMouse(MOUSEEVENTF_MOVE, 9, 9);
        }
    }

private:
    HWND other_ = nullptr;
    HWND host_ = nullptr;
    ULONGLONG phaseEnd_ = 0;
};

}  // namespace e2e
