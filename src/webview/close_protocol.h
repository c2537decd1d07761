#pragma once
// Portable. Whether a close of the window may go ahead now or first gives the page
// the chance to save: the page turns the handling on, the host announces the close,
// and the page's answer, a second close or the timeout ends the wait.

#include <cstdint>

class CloseProtocol {
public:
    enum class Decision {
        CloseNow,  // nothing to wait for
        Announce,  // tell the page and wait for its answer, at most TimeoutMs
    };

    // `timeoutSeconds`: 0 (or less) for no waiting.
    explicit CloseProtocol(int32_t timeoutSeconds) : timeoutSeconds_(timeoutSeconds) {}

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    uint32_t TimeoutMs() const { return timeoutSeconds_ > 0 ? static_cast<uint32_t>(timeoutSeconds_) * 1000u : 0; }

    // A close of the window: the first one with the handling on is announced; any
    // later one (the player closing again while the page saves) closes at once.
    Decision OnCloseRequested() {
        if (!enabled_ || TimeoutMs() == 0 || announced_) return Decision::CloseNow;
        announced_ = true;
        return Decision::Announce;
    }
    bool Announced() const { return announced_; }

private:
    const int32_t timeoutSeconds_;
    bool enabled_ = false;
    bool announced_ = false;
};
