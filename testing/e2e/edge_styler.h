// Gives the host's main window, once it is shown, extended styles of the test's choosing
// from another thread, as another program could (Windows-only).
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

namespace e2e {

class EdgeStyler {
public:
    // Adds `exStyle` to the window's extended style once, within 15 s of construction.
    explicit EdgeStyler(LONG exStyle)
        : thread_([this, exStyle] {
              for (int i = 0; i < 3000 && !done_; ++i, Sleep(5)) {
                  HWND window = FindWindowW(L"Tessarine", nullptr);
                  if (!window || !IsWindowVisible(window)) continue;
                  SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | exStyle);
                  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
                  return;
              }
          }) {}
    ~EdgeStyler() {
        done_ = true;
        thread_.join();
    }
    EdgeStyler(const EdgeStyler&) = delete;
    EdgeStyler& operator=(const EdgeStyler&) = delete;

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace e2e
