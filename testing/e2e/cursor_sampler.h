// Watches the cursor's clip and the host's main window from the test process while the
// host runs (Windows-only), sampled every few ms.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

namespace e2e {

struct CursorSample {
    bool windowFound = false;  // the host's main window exists
    RECT windowRect{};
    RECT clip{};

    // The cursor is confined to the host's window, or free on the whole virtual screen.
    bool ClippedToWindow() const;
    bool Free() const;
};

// Sends one mouse input (MOUSEEVENTF_MOVE with a relative motion, or another kind with
// its data) as a user's hand would, then gives the host 200 ms.
void SendMouse(DWORD flags, int dx, int dy, DWORD data = 0);

class CursorSampler {
public:
    // Starts sampling at once; `onSample` runs on the sampling thread after each sample,
    // for tests that act on what they see.
    explicit CursorSampler(std::function<void(const CursorSample&)> onSample);
    ~CursorSampler();
    CursorSampler(const CursorSampler&) = delete;
    CursorSampler& operator=(const CursorSampler&) = delete;

    // Ends sampling.
    void Stop();

private:
    void Run();

    std::function<void(const CursorSample&)> onSample_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace e2e
